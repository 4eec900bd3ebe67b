#!/usr/bin/env python3
"""Refreshes English.ts from the sources and fills in the English texts.

Run from the repository root:  python3 resources/translations/update_english.py
It runs lupdate over src/ and tools/, adds the texts that reach the translator through helper
functions with a fixed context (lupdate cannot see those), and fills every translation from the
tables below. Texts without English are listed at the end; add them to a table and run again.
"""
import subprocess
import sys
import xml.etree.ElementTree as ET
# (context or None, source) -> English; for a text with %n, a tuple (one, other).
T = {
 ('LanguageDlg','语言选择'):'language choice', ('LanguageDlg','简体中文'):'Chinese', ('LanguageDlg','英文'):'English',
 ('LanguageDlg','确定'):'OK', ('LanguageDlg','取消'):'Cancel',
 ('MainWindow','新建'):'New', ('MainWindow','导入'):'Import', ('MainWindow','保存'):'Save',
 ('MainWindow','端口选择'):'Port Select', ('MainWindow','显示屏设置'):'Screen set', ('MainWindow','下载'):'DownLoad',
 ('MainWindow','上手指引'):'Readme', ('MainWindow','语言'):'Language', ('MainWindow','版本信息'):'Version',
 ('MainWindow','图库'):'Picture', ('MainWindow','字库'):'Font', ('MainWindow','全选'):'All', ('MainWindow','取消'):'Cancel',
 ('MainWindow','命令控制台'):'Command console', ('MainWindow','清空'):'Clear', ('MainWindow','发送'):'Send',
 ('MainWindow','BOOT跳转页：'):'BOOT to page:', ('MainWindow','开机动画'):'GIF ANIN',
 ('MainWindow','起始动画ID：'):'GIF Start ID:', ('MainWindow','结束动画ID：'):'GIF Stop ID:',
 ('MainWindow','设置'):'Set', ('MainWindow','移除'):'Del',
 ('MainWindow','动画X：'):'GIF X:', ('MainWindow','动画Y：'):'GIF Y:', ('MainWindow','动画W：'):'GIF W:', ('MainWindow','动画H：'):'GIF H:',
 ('MainWindow','动画时间(毫秒)：'):'GIF Interval time:',
 ('MainWindow','添加或删除页'):'Add or remove pages', ('MainWindow','页面复制'):'Page Copy', ('MainWindow','页面粘贴'):'Page Paste',
 ('MainWindow','路径：'):'Path:', ('MainWindow','新建项目'):'New project', ('MainWindow','导入项目'):'Import project',
 ('MainWindow','新建项目名称已存在，请您重新命名！'):'New project name already exists, please rename!',
 ('MainWindow','是否导入项目？'):'Import the project?',
 ('MainWindow','您是否需要继续导入项目覆盖当前项目？（建议您先保存当前项目再导入！）'):'Do you need to continue importing the project to override the current project?  (You are advised to save the current project and then import!)',
 ('MainWindow','加载项目路径错误，导入失败！'):'Error loading project path, import failed!',
 ('MainWindow','导入成功！'):'Import successful!',
 ('MainWindow','加载控件错误，可能该项目之前未做保存操作，导入失败！'):'Error loading control, the project may not have been saved before, import failed!',
 ('MainWindow','未创建项目，请您先创建项目！'):'No project created, please create project first!',
 ('MainWindow','是否保存当前项目？'):'Do you want to save the current project?',
 ('MainWindow','保存成功！'):'Save successfully!', ('MainWindow','路径错误，保存失败！'):'Path error, save failed!',
 ('MainWindow','退出软件前是否保存当前项目？'):'Do you want to save the current project before exiting the software?',
 ('MainWindow','该项目未能完整导入，保存将覆盖原项目文件。退出软件前是否保存当前项目？'):'The project was not imported completely; saving will overwrite the original project file. Do you want to save the current project before exiting the software?',
 ('MainWindow','该项目未能完整导入，保存将覆盖原项目文件。是否保存当前项目？'):'The project was not imported completely; saving will overwrite the original project file. Do you want to save the current project?',
 ('MainWindow','添加的页数不能超过%1页'):'The number of pages added cannot exceed %1 pages',
 ('MainWindow','不可删除最后一页！'):'Last page cannot be deleted!', ('MainWindow','是否删除当前页？'):'Do you want to delete the current page?',
 ('MainWindow','未选择图片，请您在图库中选择一张图片！'):'Not selected picture, please select a picture in the gallery!',
 ('MainWindow','起始动画未设置，请您先设置起始动画！'):'The start animation is not set, please set the start animation first!',
 ('MainWindow','结束动画ID不可大于起始动画ID，请您重新设置！'):'End animation ID cannot be greater than start animation ID, please reset!',
 ('MainWindow','Tavo使用文档'):'Tavo sowftware usage docutment', ('MainWindow','LXP应用文档'):'LXP application docutment',
 ('MainWindow','LXP指令集'):'LXP instruction set', ('MainWindow','LXP编程实例'):'LXP programmer exampes',
 ('MainWindow','LXP使用注意事项'):'LXP note issues', ('MainWindow','LXP图片脱机上传流程'):'LXP img download process',
 ('MainWindow','LXP视频学习资料'):'LXP video learning material', ('MainWindow','技术支持窗口'):'Technical Support Window',
 ('QMyMessageBox','提示'):'Hint', ('QMyMessageBox','警告'):'Warning', ('QMyMessageBox','错误'):'Error',
 ('QMyMessageBox','确定'):'OK', ('QMyMessageBox','取消'):'Cancel', ('QMyMessageBox','是'):'Yes', ('QMyMessageBox','否'):'No',
 ('QMyMessageBox','同时下载资源'):'Download source at same time',
 ('QMyProgressBarMes','关闭'):'Close', ('QMyProgressBarMes','完成'):'Finish',
 ('Version','版本信息'):'Version', ('Version','版本信息：'):'Version:', ('Version','关闭'):'Close',
 ('SetScreenSizeDlg','设置分辨率'):'Set Dpi', ('SetScreenSizeDlg','分辨率：'):'Dpi:', ('SetScreenSizeDlg','横竖屏：'):'Orientation:',
 ('SetScreenSizeDlg','竖屏1'):'Portrait 1', ('SetScreenSizeDlg','横屏1'):'Landscape 1', ('SetScreenSizeDlg','竖屏2'):'Portrait 2',
 ('SetScreenSizeDlg','横屏2'):'Landscape 2', ('SetScreenSizeDlg','确定'):'OK', ('SetScreenSizeDlg','取消'):'Cancel',
}
# Context-free English for texts whose wording is the same in every context.
F = {}
F.update({
 '文本':'Text', '按键':'Button',
 '第%1页编号%2,':'Page %1 number %2, ', '第%1页控件数量已超过%2！':'The number of controls on page %1 exceeds %2!',
 '第%1页字节数已超过%2！':'The bytes of page %1 exceed %2!', '%1文本字符已超过%2！':'%1 text characters exceed %2!',
})
F.update({
 '第%1页背景颜色%2':'page %1 background color %2',
 '第%1页%2控件%3的颜色%4':'page %1 %2 control %3 color %4',
 '第%1页第%2个图形的颜色%3':'page %1 shape %2 color %3',
 '%1超出了颜色编号0到63的范围，请您重新设置！':'%1 is outside the color numbers 0 to 63, please set it again!',
 '、':', ',
 '通信超时，下载失败！':'Communication timeout, download failed!',
 '通信超时！':'Communication timeout!',
 '页面下载中，请稍后......':'Downloading pages, please wait......',
 '页面下载成功！':'Pages downloaded successfully!',
 '图片下载成功！':'Pictures downloaded successfully!',
 '小字库不能超过2M！':'The small font cannot exceed 2M!',
 '大字库不能超过3M！':'The large font cannot exceed 3M!',
 '小字库下载中，请稍后......':'Downloading the small font, please wait......',
 '大字库下载中，请稍后......':'Downloading the large font, please wait......',
 '字库下载成功！':'Font downloaded successfully!',
 '写入485地址成功！':'485 address written successfully!',
 '背光度设置成功！':'Backlight set successfully!',
 '波特率设置成功！':'Baud rate set successfully!',
 '指令集发送成功！':'Instructions sent successfully!',
 '%1：文件过大（%2字节，最多%3字节）':'%1: file too large (%2 bytes, at most %3 bytes)',
 '%1：元素嵌套超过%2层':'%1: elements nested deeper than %2 levels',
 '%1：%2':'%1: %2',
 '项目文件':'project file',
 '%1 第%2行第%3列':'%1 line %2 column %3',
 '%1：无法打开文件（%2）':'%1: cannot open the file (%2)',
 '%1：元素“ClassName”的控件类名“%2”未知':'%1: unknown control class name "%2" in element "ClassName"',
 '%1：元素“DrawClassName”的图形类型“%2”不在1到6之间':'%1: shape kind "%2" of element "DrawClassName" is not between 1 and 6',
 '%1：元素“%2”出现在任何页面之前':'%1: element "%2" comes before any page',
})
F.update({
 '发送指令集内容不能为空！':'The instructions to send cannot be empty!',
 '未添加图片无法下载，请您先添加图片！':'No pictures added, nothing to download. Please add pictures first!',
 '项目中没有页面，无法下载！':'The project has no pages, nothing to download!',
 '显示屏应答无法识别，下载失败！':'The answer of the display cannot be recognized, download failed!',
})
F.update({
 '通信已断开，下载失败！':'Communication lost, download failed!',
 '通信未连接，请您先连接通信！':'Not connected, please connect first!',
 '串口%1已拔出！':'Serial port %1 was unplugged!',
 '第%1页指令字节数超过了%2字节，请您重新调整！':'The instructions of page %1 exceed %2 bytes, please adjust!',
 '开机动画设置的ID已超过总图片的数目，请您重新设置！':'The boot animation ID exceeds the number of pictures, please set it again!',
 'BOOT指令字节数超过了%1字节，请您重新调整！':'The BOOT instructions exceed %1 bytes, please adjust!',
 '第%1页%2控件%3的文本含有换行符，请您修改！':'The text of %2 control %3 on page %1 contains a line break, please change it!',
 '第%1页%2控件%3的文本含有单引号，请您修改！':'The text of %2 control %3 on page %1 contains a single quote, please change it!',
 '第%1页%2控件%3的数值格式不对，请您修改！':'The number of %2 control %3 on page %1 is not well formed, please change it!',
 '第%1页%2控件%3的文本含有显示屏不支持的字符，请您修改！':'The text of %2 control %3 on page %1 contains characters the display does not support, please change it!',
 '下载失败，下载图片的bin文件总大小超过2M！':'Download failed, the pictures to download exceed 2M in total!',
 '下载失败，下载图片的bin文件总大小超过3M！':'Download failed, the pictures to download exceed 3M in total!',
 '下载失败，下载图片的bin文件总大小超过11M！':'Download failed, the pictures to download exceed 11M in total!',
 '--下载图片进度总大小:%1 擦除进度:%2':'--Picture download total size:%1 erase progress:%2',
 '--下载图片进度总大小:%1 配置进度:%2':'--Picture download total size:%1 write progress:%2',
})
# Texts translated through wrappers with a fixed context that lupdate cannot see.
EXTRA = {
 'SerialPortDlg': ['通信已断开，下载失败！', '通信未连接，请您先连接通信！', '串口%1已拔出！',
                   '下载失败，下载图片的bin文件总大小超过2M！', '下载失败，下载图片的bin文件总大小超过3M！',
                   '下载失败，下载图片的bin文件总大小超过11M！', '--下载图片进度总大小:%1 擦除进度:%2',
                   '--下载图片进度总大小:%1 配置进度:%2'],
 'MainWindow': ['第%1页指令字节数超过了%2字节，请您重新调整！', '开机动画设置的ID已超过总图片的数目，请您重新设置！',
                'BOOT指令字节数超过了%1字节，请您重新调整！'],
 'Script': ['第%1页%2控件%3的文本含有换行符，请您修改！', '第%1页%2控件%3的文本含有单引号，请您修改！',
            '第%1页%2控件%3的数值格式不对，请您修改！', '第%1页%2控件%3的文本含有显示屏不支持的字符，请您修改！'],
 'ProjectFile': ['%1：文件过大（%2字节，最多%3字节）'],
}
# Contexts lupdate names after a class while the code translates under another.
COPY_CONTEXT = {'DownloadSteps': 'InstructSerialPort', 'Reader': 'ProjectFile'}

# Each area of the program keeps its own table in tables/*.py, which adds to T, F, EXTRA and
# COPY_CONTEXT above, so work on different areas never edits the same lines.
import glob
import os
for table in sorted(glob.glob(os.path.join(os.path.dirname(os.path.abspath(__file__)), 'tables', '*.py'))):
    with open(table, encoding='utf-8') as f:
        exec(compile(f.read(), table, 'exec'), {'T': T, 'F': F, 'EXTRA': EXTRA, 'COPY_CONTEXT': COPY_CONTEXT})

path = sys.argv[1] if len(sys.argv) > 1 else 'resources/translations/English.ts'
subprocess.run(['lupdate', '-silent', '-no-obsolete', '-locations', 'none', 'src', 'tools', '-ts', path], check=True)
tree = ET.parse(path)
root = tree.getroot()
def context(name):
    for c in root.findall('context'):
        if c.find('name').text == name:
            return c
    c = ET.SubElement(root, 'context')
    c.text = '\n    '
    c.tail = '\n'
    n = ET.SubElement(c, 'name'); n.text = name; n.tail = '\n    '
    return c
def ensure(ctx, src):
    c = context(ctx)
    for m in c.findall('message'):
        if m.find('source').text == src:
            return
    m = ET.SubElement(c, 'message'); m.text = '\n        '; m.tail = '\n'
    s = ET.SubElement(m, 'source'); s.text = src; s.tail = '\n        '
    t = ET.SubElement(m, 'translation', type='unfinished'); t.tail = '\n    '
for frm, to in COPY_CONTEXT.items():
    for c in list(root.findall('context')):
        if c.find('name').text == frm:
            for m in c.findall('message'):
                ensure(to, m.find('source').text)
for ctx, sources in EXTRA.items():
    for s in sources:
        ensure(ctx, s)
# Keep contexts in name order, as lupdate writes them.
ctxs = sorted(root.findall('context'), key=lambda c: c.find('name').text)
for c in ctxs:
    root.remove(c)
for c in ctxs:
    root.append(c)
missing = []
for c in tree.getroot().findall('context'):
    name = c.find('name').text
    for m in c.findall('message'):
        src = m.find('source').text
        tr = m.find('translation')
        en = T.get((name, src)) or F.get(src)
        if isinstance(en, tuple) and m.get('numerus') == 'yes':
            # Plural forms (tr with %n): one English text for one, one for any other count.
            forms = tr.findall('numerusform')
            while len(forms) < len(en):
                f = ET.SubElement(tr, 'numerusform'); f.tail = '\n        '
                forms.append(f)
            for f, text in zip(forms, en):
                f.text = text
            tr.attrib.pop('type', None)
        elif en is not None and not isinstance(en, tuple):
            tr.text = en
            tr.attrib.pop('type', None)
        elif tr.get('type') == 'unfinished' or not tr.text:
            missing.append((name, src))
tree.write(path, encoding='utf-8', xml_declaration=True)
# ElementTree drops the DOCTYPE; lrelease does not need it, but keep the file familiar.
s = open(path, encoding='utf-8').read()
s = s.replace("<?xml version='1.0' encoding='utf-8'?>", '<?xml version="1.0" encoding="utf-8"?>\n<!DOCTYPE TS>', 1)
open(path, 'w', encoding='utf-8').write(s + ('' if s.endswith('\n') else '\n'))
for n, s in missing:
    print('MISSING', n, repr(s))
