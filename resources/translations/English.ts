<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="zh_CN">
<context>
    <name>BatchDownload</name>
    <message>
        <source>串口%1打开失败：%2</source>
        <translation>Cannot open serial port %1: %2</translation>
    </message>
    <message>
        <source>%1和%2是同一个串口，不能同时下载！</source>
        <translation>%1 and %2 are the same serial port; it cannot take two downloads at once!</translation>
    </message>
    <message>
        <source>串口%1正在下载中！</source>
        <translation>Serial port %1 is already downloading!</translation>
    </message>
    <message>
        <source>已停止</source>
        <translation>Stopped</translation>
    </message>
    <message>
        <source>已中断</source>
        <translation>interrupted</translation>
    </message>
</context>
<context>
    <name>BatchDownloadDlg</name>
    <message>
        <source>批量下载</source>
        <translation>Batch download</translation>
    </message>
    <message>
        <source>端口：</source>
        <translation>Ports:</translation>
    </message>
    <message>
        <source>虚拟模块：</source>
        <translation>Virtual modules:</translation>
    </message>
    <message>
        <source>下载内容：</source>
        <translation>Download:</translation>
    </message>
    <message>
        <source>波特率：</source>
        <translation>Baud rate:</translation>
    </message>
    <message>
        <source>页面</source>
        <translation>Pages</translation>
    </message>
    <message>
        <source>页面和图片资源</source>
        <translation>Pages and pictures</translation>
    </message>
    <message>
        <source>图片资源</source>
        <translation>Pictures</translation>
    </message>
    <message>
        <source>字库</source>
        <translation>Fonts</translation>
    </message>
    <message>
        <source>自动下载新接入的模块</source>
        <translation>Download to newly plugged modules</translation>
    </message>
    <message>
        <source>每个端口各自下载，互不影响。批量下载只读取项目，不会像单个下载那样把波特率和背光值写回项目文件。</source>
        <translation>Each port downloads on its own; one failing does not affect the others. A batch only reads the project: unlike a single download, it never writes the baud rate or the backlight back to the project file.</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>端口</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>进度</source>
        <translation>Progress</translation>
    </message>
    <message>
        <source>速率</source>
        <translation>Rate</translation>
    </message>
    <message>
        <source>剩余时间</source>
        <translation>Time left</translation>
    </message>
    <message>
        <source>结果</source>
        <translation>Result</translation>
    </message>
    <message>
        <source>请选择要下载的端口或虚拟模块！</source>
        <translation>Please choose the ports or virtual modules to download to!</translation>
    </message>
    <message>
        <source>虚拟模块无法启动：%1</source>
        <translation>The virtual module cannot start: %1</translation>
    </message>
    <message>
        <source>虚拟模块%1</source>
        <translation>Virtual module %1</translation>
    </message>
    <message>
        <source>下载中</source>
        <translation>Downloading</translation>
    </message>
    <message>
        <source>成功，用时%1秒</source>
        <translation>Succeeded in %1 s</translation>
    </message>
    <message>
        <source>失败：%1</source>
        <translation>Failed: %1</translation>
    </message>
    <message>
        <source>成功%1个，失败%2个，进行中%3个</source>
        <translation>%1 succeeded, %2 failed, %3 running</translation>
    </message>
    <message>
        <source>停止自动下载</source>
        <translation>Stop automatic download</translation>
    </message>
    <message>
        <source>开始下载</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>停止</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>添加</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>输入设备路径，如 /dev/ttyUSB0</source>
        <translation>Device path, such as /dev/ttyUSB0</translation>
    </message>
    <message>
        <source>请输入串口的设备路径！</source>
        <translation>Please type the device path of a serial port!</translation>
    </message>
    <message>
        <source>%1不是串口设备！</source>
        <translation>%1 is not a serial device!</translation>
    </message>
    <message>
        <source>成功%1个，失败%2个，已停止%3个，进行中%4个</source>
        <translation>%1 succeeded, %2 failed, %3 stopped, %4 running</translation>
    </message>
</context>
<context>
    <name>BindingsDlg</name>
    <message>
        <source>导出固件接口</source>
        <translation>Export firmware bindings</translation>
    </message>
    <message>
        <source>C 语言（.h 和 .c）</source>
        <translation>C (.h and .c)</translation>
    </message>
    <message>
        <source>Python 模块</source>
        <translation>Python module</translation>
    </message>
    <message>
        <source>文件：</source>
        <translation>File:</translation>
    </message>
    <message>
        <source>文件夹：</source>
        <translation>Folder:</translation>
    </message>
    <message>
        <source>浏览…</source>
        <translation>Browse...</translation>
    </message>
    <message>
        <source>名称前缀：</source>
        <translation>Name prefix:</translation>
    </message>
    <message>
        <source>包含全部GBK字符（固件可发送任意汉字，代码更大）</source>
        <translation>Include every GBK character (the firmware may send any Chinese character; larger code)</translation>
    </message>
    <message>
        <source>生成的文件每次导出都会整个覆盖，请勿在其中编写自己的代码。</source>
        <translation>The generated files are rewritten whole on every export: do not put your own code in them.</translation>
    </message>
    <message>
        <source>导出</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>ColorDlg</name>
    <message>
        <source>颜色表</source>
        <translation>Color table</translation>
    </message>
    <message>
        <source>当前颜色：</source>
        <translation>Current color:</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>DesktopIntegration</name>
    <message>
        <source>Tavo文件</source>
        <translation>Tavo file</translation>
    </message>
    <message>
        <source>设计LXP串口屏的页面并下载到显示模块</source>
        <translation>Design pages for LXP serial display modules and download them</translation>
    </message>
    <message>
        <source>串口屏页面设计</source>
        <translation>Serial display page designer</translation>
    </message>
</context>
<context>
    <name>DownloadCheck</name>
    <message>
        <source>第%1页背景颜色%2</source>
        <translation>page %1 background color %2</translation>
    </message>
    <message>
        <source>第%1页%2控件%3的颜色%4</source>
        <translation>page %1 %2 control %3 color %4</translation>
    </message>
    <message>
        <source>第%1页第%2个图形的颜色%3</source>
        <translation>page %1 shape %2 color %3</translation>
    </message>
    <message>
        <source>%1超出了颜色编号0到63的范围，请您重新设置！</source>
        <translation>%1 is outside the color numbers 0 to 63, please set it again!</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>屏幕方向%1超出了0到%2的范围</source>
        <translation>the screen direction %1 is outside 0 to %2</translation>
    </message>
    <message>
        <source>背光值%1超出了0到%2的范围</source>
        <translation>the backlight value %1 is outside 0 to %2</translation>
    </message>
    <message>
        <source>%1，请您重新设置！</source>
        <translation>%1, please set it again!</translation>
    </message>
    <message>
        <source>，</source>
        <translation>, </translation>
    </message>
    <message>
        <source>图片%1（编号%2）无法读取</source>
        <translation>Picture %1 (number %2) cannot be read</translation>
    </message>
    <message>
        <source>图片%1（编号%2）的尺寸%3x%4过大，每边不能超过%5像素</source>
        <translation>Picture %1 (number %2) is %3x%4, too large: no side may exceed %5 pixels</translation>
    </message>
    <message>
        <source>图片%1（编号%2）的尺寸%3x%4过大，像素总数不能超过%5</source>
        <translation>Picture %1 (number %2) is %3x%4, too large: it may not have more than %5 pixels</translation>
    </message>
    <message>
        <source>，第%1页使用了该图片</source>
        <translation>, page %1 uses it</translation>
    </message>
    <message>
        <source>，请您删除或重新导入该图片！</source>
        <translation>, please delete it or import it again!</translation>
    </message>
    <message>
        <source>，请您删除或缩小该图片！</source>
        <translation>, please delete it or make it smaller!</translation>
    </message>
</context>
<context>
    <name>DownloadSteps</name>
    <message>
        <source>通信超时，下载失败！</source>
        <translation>Communication timeout, download failed!</translation>
    </message>
    <message>
        <source>通信超时！</source>
        <translation>Communication timeout!</translation>
    </message>
    <message>
        <source>页面下载中，请稍后......</source>
        <translation>Downloading pages, please wait......</translation>
    </message>
    <message>
        <source>页面下载成功！</source>
        <translation>Pages downloaded successfully!</translation>
    </message>
    <message>
        <source>图片下载成功！</source>
        <translation>Pictures downloaded successfully!</translation>
    </message>
    <message>
        <source>小字库不能超过2M！</source>
        <translation>The small font cannot exceed 2M!</translation>
    </message>
    <message>
        <source>大字库不能超过3M！</source>
        <translation>The large font cannot exceed 3M!</translation>
    </message>
    <message>
        <source>小字库下载中，请稍后......</source>
        <translation>Downloading the small font, please wait......</translation>
    </message>
    <message>
        <source>大字库下载中，请稍后......</source>
        <translation>Downloading the large font, please wait......</translation>
    </message>
    <message>
        <source>字库下载成功！</source>
        <translation>Font downloaded successfully!</translation>
    </message>
    <message>
        <source>写入485地址成功！</source>
        <translation>485 address written successfully!</translation>
    </message>
    <message>
        <source>背光度设置成功！</source>
        <translation>Backlight set successfully!</translation>
    </message>
    <message>
        <source>波特率设置成功！</source>
        <translation>Baud rate set successfully!</translation>
    </message>
    <message>
        <source>指令集发送成功！</source>
        <translation>Instructions sent successfully!</translation>
    </message>
    <message>
        <source>字库文件%1无法读取，下载失败！</source>
        <translation>Font file %1 cannot be read, download failed!</translation>
    </message>
</context>
<context>
    <name>FolderMirror</name>
    <message>
        <source>“%1”是符号链接，不会经由它删除、改名或写入文件</source>
        <translation>"%1" is a symbolic link; nothing is removed, renamed or written through it</translation>
    </message>
    <message>
        <source>“%1”不是文件夹，无法用作图片文件夹</source>
        <translation>"%1" is not a folder and cannot be used as a picture folder</translation>
    </message>
</context>
<context>
    <name>InstructSerialPort</name>
    <message>
        <source>通信超时，下载失败！</source>
        <translation>Communication timeout, download failed!</translation>
    </message>
<message>
        <source>通信超时！</source>
        <translation>Communication timeout!</translation>
    </message>
<message>
        <source>页面下载中，请稍后......</source>
        <translation>Downloading pages, please wait......</translation>
    </message>
<message>
        <source>页面下载成功！</source>
        <translation>Pages downloaded successfully!</translation>
    </message>
<message>
        <source>图片下载成功！</source>
        <translation>Pictures downloaded successfully!</translation>
    </message>
<message>
        <source>小字库不能超过2M！</source>
        <translation>The small font cannot exceed 2M!</translation>
    </message>
<message>
        <source>大字库不能超过3M！</source>
        <translation>The large font cannot exceed 3M!</translation>
    </message>
<message>
        <source>小字库下载中，请稍后......</source>
        <translation>Downloading the small font, please wait......</translation>
    </message>
<message>
        <source>大字库下载中，请稍后......</source>
        <translation>Downloading the large font, please wait......</translation>
    </message>
<message>
        <source>字库下载成功！</source>
        <translation>Font downloaded successfully!</translation>
    </message>
<message>
        <source>写入485地址成功！</source>
        <translation>485 address written successfully!</translation>
    </message>
<message>
        <source>背光度设置成功！</source>
        <translation>Backlight set successfully!</translation>
    </message>
<message>
        <source>波特率设置成功！</source>
        <translation>Baud rate set successfully!</translation>
    </message>
<message>
        <source>指令集发送成功！</source>
        <translation>Instructions sent successfully!</translation>
    </message>
<message>
        <source>字库文件%1无法读取，下载失败！</source>
        <translation>Font file %1 cannot be read, download failed!</translation>
    </message>
</context>
<context>
    <name>LanguageDlg</name>
    <message>
        <source>语言选择</source>
        <translation>language choice</translation>
    </message>
    <message>
        <source>简体中文</source>
        <translation>Chinese</translation>
    </message>
    <message>
        <source>英文</source>
        <translation>English</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>LibraryPanel</name>
    <message>
        <source>无法读取该图片（文件已损坏或为空），下载前请删除或重新导入：%1</source>
        <translation>This picture cannot be read (the file is damaged or empty); delete or import it again before downloading: %1</translation>
    </message>
    <message>
        <source>图片（%1x%2）大于页面（%3x%4），显示屏上超出页面的部分不会显示</source>
        <translation>The picture (%1x%2) is larger than the page (%3x%4); the part beyond the page is not shown on the module</translation>
    </message>
    <message>
        <source>图片尺寸过大（%1x%2），无法下载到显示屏，下载前请删除：%3</source>
        <translation>The picture is too large (%1x%2) to be downloaded to the module; delete it before downloading: %3</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>新建</source>
        <translation>New</translation>
    </message>
    <message>
        <source>导入</source>
        <translation>Import</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>端口选择</source>
        <translation>Port Select</translation>
    </message>
    <message>
        <source>显示屏设置</source>
        <translation>Screen set</translation>
    </message>
    <message>
        <source>下载</source>
        <translation>DownLoad</translation>
    </message>
    <message>
        <source>上手指引</source>
        <translation>Readme</translation>
    </message>
    <message>
        <source>语言</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>版本信息</source>
        <translation>Version</translation>
    </message>
    <message>
        <source>图库</source>
        <translation>Picture</translation>
    </message>
    <message>
        <source>字库</source>
        <translation>Font</translation>
    </message>
    <message>
        <source>全选</source>
        <translation>All</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>命令控制台</source>
        <translation>Command console</translation>
    </message>
    <message>
        <source>清空</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>发送</source>
        <translation>Send</translation>
    </message>
    <message>
        <source>BOOT跳转页：</source>
        <translation>BOOT to page:</translation>
    </message>
    <message>
        <source>开机动画</source>
        <translation>GIF ANIN</translation>
    </message>
    <message>
        <source>起始动画ID：</source>
        <translation>GIF Start ID:</translation>
    </message>
    <message>
        <source>结束动画ID：</source>
        <translation>GIF Stop ID:</translation>
    </message>
    <message>
        <source>设置</source>
        <translation>Set</translation>
    </message>
    <message>
        <source>移除</source>
        <translation>Del</translation>
    </message>
    <message>
        <source>动画X：</source>
        <translation>GIF X:</translation>
    </message>
    <message>
        <source>动画Y：</source>
        <translation>GIF Y:</translation>
    </message>
    <message>
        <source>动画W：</source>
        <translation>GIF W:</translation>
    </message>
    <message>
        <source>动画H：</source>
        <translation>GIF H:</translation>
    </message>
    <message>
        <source>动画时间(毫秒)：</source>
        <translation>GIF Interval time:</translation>
    </message>
    <message>
        <source>添加或删除页</source>
        <translation>Add or remove pages</translation>
    </message>
    <message>
        <source>Tavo使用文档</source>
        <translation>Tavo sowftware usage docutment</translation>
    </message>
    <message>
        <source>LXP应用文档</source>
        <translation>LXP application docutment</translation>
    </message>
    <message>
        <source>LXP指令集</source>
        <translation>LXP instruction set</translation>
    </message>
    <message>
        <source>LXP编程实例</source>
        <translation>LXP programmer exampes</translation>
    </message>
    <message>
        <source>LXP使用注意事项</source>
        <translation>LXP note issues</translation>
    </message>
    <message>
        <source>LXP图片脱机上传流程</source>
        <translation>LXP img download process</translation>
    </message>
    <message>
        <source>LXP视频学习资料</source>
        <translation>LXP video learning material</translation>
    </message>
    <message>
        <source>技术支持窗口</source>
        <translation>Technical Support Window</translation>
    </message>
    <message>
        <source>页面复制</source>
        <translation>Page Copy</translation>
    </message>
    <message>
        <source>页面粘贴</source>
        <translation>Page Paste</translation>
    </message>
    <message>
        <source>路径：</source>
        <translation>Path:</translation>
    </message>
    <message>
        <source>保存成功！</source>
        <translation>Save successfully!</translation>
    </message>
    <message>
        <source>路径错误，保存失败！</source>
        <translation>Path error, save failed!</translation>
    </message>
    <message>
        <source>该项目未能完整导入，保存将覆盖原项目文件。退出软件前是否保存当前项目？</source>
        <translation>The project was not imported completely; saving will overwrite the original project file. Do you want to save the current project before exiting the software?</translation>
    </message>
    <message>
        <source>退出软件前是否保存当前项目？</source>
        <translation>Do you want to save the current project before exiting the software?</translation>
    </message>
    <message>
        <source>新建项目</source>
        <translation>New project</translation>
    </message>
    <message>
        <source>新建项目名称已存在，请您重新命名！</source>
        <translation>New project name already exists, please rename!</translation>
    </message>
    <message>
        <source>您是否需要继续导入项目覆盖当前项目？（建议您先保存当前项目再导入！）</source>
        <translation>Do you need to continue importing the project to override the current project?  (You are advised to save the current project and then import!)</translation>
    </message>
    <message>
        <source>是否导入项目？</source>
        <translation>Import the project?</translation>
    </message>
    <message>
        <source>导入项目</source>
        <translation>Import project</translation>
    </message>
    <message>
        <source>加载项目路径错误，导入失败！</source>
        <translation>Error loading project path, import failed!</translation>
    </message>
    <message>
        <source>导入成功！</source>
        <translation>Import successful!</translation>
    </message>
    <message>
        <source>加载控件错误，可能该项目之前未做保存操作，导入失败！</source>
        <translation>Error loading control, the project may not have been saved before, import failed!</translation>
    </message>
    <message>
        <source>未创建项目，请您先创建项目！</source>
        <translation>No project created, please create project first!</translation>
    </message>
    <message>
        <source>该项目未能完整导入，保存将覆盖原项目文件。是否保存当前项目？</source>
        <translation>The project was not imported completely; saving will overwrite the original project file. Do you want to save the current project?</translation>
    </message>
    <message>
        <source>是否保存当前项目？</source>
        <translation>Do you want to save the current project?</translation>
    </message>
    <message>
        <source>添加的页数不能超过%1页</source>
        <translation>The number of pages added cannot exceed %1 pages</translation>
    </message>
    <message>
        <source>不可删除最后一页！</source>
        <translation>Last page cannot be deleted!</translation>
    </message>
    <message>
        <source>是否删除当前页？</source>
        <translation>Do you want to delete the current page?</translation>
    </message>
    <message>
        <source>未选择图片，请您在图库中选择一张图片！</source>
        <translation>Not selected picture, please select a picture in the gallery!</translation>
    </message>
    <message>
        <source>起始动画未设置，请您先设置起始动画！</source>
        <translation>The start animation is not set, please set the start animation first!</translation>
    </message>
    <message>
        <source>结束动画ID不可大于起始动画ID，请您重新设置！</source>
        <translation>End animation ID cannot be greater than start animation ID, please reset!</translation>
    </message>
    <message>
        <source>发送指令集内容不能为空！</source>
        <translation>The instructions to send cannot be empty!</translation>
    </message>
    <message>
        <source>未添加图片无法下载，请您先添加图片！</source>
        <translation>No pictures added, nothing to download. Please add pictures first!</translation>
    </message>
    <message>
        <source>项目中没有页面，无法下载！</source>
        <translation>The project has no pages, nothing to download!</translation>
    </message>
    <message>
        <source>图片文件夹“tempImages”缺失或为空，已从“backUpImages”恢复%1个文件。</source>
        <translation>The picture folder "tempImages" was missing or empty; %1 files were restored from "backUpImages".</translation>
    </message>
    <message>
        <source>图片文件夹“tempImages”缺失或为空，从“backUpImages”恢复失败，备份保持不变。</source>
        <translation>The picture folder "tempImages" was missing or empty, and restoring it from "backUpImages" failed; the backup is kept as it is.</translation>
    </message>
    <message>
        <source>未新建或加载项目，请您先新建或加载项目！</source>
        <translation>No project created or loaded, please create or load a project first!</translation>
    </message>
    <message>
        <source>选择图片</source>
        <translation>Select pictures</translation>
    </message>
    <message>
        <source>选择字库</source>
        <translation>Select fonts</translation>
    </message>
    <message>
        <source>以下字库未能导入：</source>
        <translation>These fonts could not be imported:</translation>
    </message>
    <message>
        <source>下载中，不可删除！</source>
        <translation>Downloading, cannot delete!</translation>
    </message>
    <message>
        <source>是否删除选中的图片？</source>
        <translation>Delete the selected pictures?</translation>
    </message>
    <message>
        <source>是否删除选中的字库？</source>
        <translation>Delete the selected fonts?</translation>
    </message>
    <message>
        <source>以下图片未能删除：</source>
        <translation>These pictures could not be deleted:</translation>
    </message>
    <message>
        <source>以下字库未能删除：</source>
        <translation>These fonts could not be deleted:</translation>
    </message>
    <message>
        <source>序号</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>大小</source>
        <translation>Size</translation>
    </message>
    <message>
        <source>缩略图</source>
        <translation>Image</translation>
    </message>
    <message>
        <source>地址</source>
        <translation>Address</translation>
    </message>
    <message>
        <source>分辨率</source>
        <translation>Resolution</translation>
    </message>
    <message>
        <source>字体</source>
        <translation>Font</translation>
    </message>
    <message>
        <source>尺寸</source>
        <translation>Size</translation>
    </message>
    <message>
        <source>类型</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>中文</source>
        <translation>Chinese</translation>
    </message>
    <message>
        <source>英文</source>
        <translation>English</translation>
    </message>
    <message>
        <source>bin文件总大小：</source>
        <translation>Total bin file size: </translation>
    </message>
    <message>
        <source>输入的字符不可超过%1，小数需预留%2位字符！</source>
        <translation>The input cannot exceed %1 characters, and %2 characters are reserved for decimals!</translation>
    </message>
    <message>
        <source>输入的字符不可超过%1！</source>
        <translation>The input cannot exceed %1 characters!</translation>
    </message>
    <message>
        <source>输入数值格式不对，数值里不可包含特殊字符，请您重新输入有效的数值格式！</source>
        <translation>Invalid number format: the value may not contain special characters, please enter a valid number!</translation>
    </message>
    <message>
        <source>输入数值格式不对，'-'应在第一位，请您重新输入有效的数值格式！</source>
        <translation>Invalid number format: '-' must be the first character, please enter a valid number!</translation>
    </message>
    <message>
        <source>输入数值格式不对，'-'应只有一位，请您重新输入有效的数值格式！</source>
        <translation>Invalid number format: only one '-' is allowed, please enter a valid number!</translation>
    </message>
    <message>
        <source>输入数值格式不对，'.'应只有一位，请您重新输入有效的数值格式！</source>
        <translation>Invalid number format: only one '.' is allowed, please enter a valid number!</translation>
    </message>
    <message>
        <source>小数只保留%1位，无法再添加小数位！</source>
        <translation>Only %1 decimal places are kept, no more decimals can be added!</translation>
    </message>
    <message>
        <source>输入数值格式不对，第二个字符不能为0，请您重新输入有效的数值格式！</source>
        <translation>Invalid number format: the second character cannot be 0, please enter a valid number!</translation>
    </message>
    <message>
        <source>输入数值格式不对，'.'不应在第一位，请您重新输入有效的数值格式！</source>
        <translation>Invalid number format: '.' may not be the first character, please enter a valid number!</translation>
    </message>
    <message>
        <source>小数只保留%1位字符，无法再添加小数位！</source>
        <translation>Only %1 decimal characters are kept, no more decimals can be added!</translation>
    </message>
    <message>
        <source>输入数值格式不对，第一个字符不能为0，请您重新输入有效的数值格式！</source>
        <translation>Invalid number format: the first character cannot be 0, please enter a valid number!</translation>
    </message>
    <message>
        <source>字体大小为72或96时，文本不支持中文！</source>
        <translation>At font size 72 or 96 the text cannot contain Chinese!</translation>
    </message>
    <message>
        <source>文本字符不能大于%1（每个中文占两个字符）！</source>
        <translation>The text cannot exceed %1 characters (each Chinese character counts as two)!</translation>
    </message>
    <message>
        <source>请输入整数！</source>
        <translation>Please enter a whole number!</translation>
    </message>
    <message>
        <source>该属性当前没有可选的值！</source>
        <translation>This property has no values to choose from at present!</translation>
    </message>
    <message>
        <source>取值无效，可选的值：%1</source>
        <translation>Invalid value, choose one of: %1</translation>
    </message>
    <message>
        <source>颜色编号只能是0到%1！</source>
        <translation>The color number must be between 0 and %1!</translation>
    </message>
    <message>
        <source>图库中没有编号为%1的图片！</source>
        <translation>The picture library has no picture numbered %1!</translation>
    </message>
    <message>
        <source>当前设置背景图片与画布分辨率不一致</source>
        <translation>The background image does not match the canvas resolution</translation>
    </message>
    <message>
        <source>竖屏1</source>
        <translation>Portrait 1</translation>
    </message>
    <message>
        <source>横屏1</source>
        <translation>Landscape 1</translation>
    </message>
    <message>
        <source>竖屏2</source>
        <translation>Portrait 2</translation>
    </message>
    <message>
        <source>横屏2</source>
        <translation>Landscape 2</translation>
    </message>
    <message>
        <source>图片编号</source>
        <translation>Image ID</translation>
    </message>
    <message>
        <source>背景颜色</source>
        <translation>Background color</translation>
    </message>
    <message>
        <source>辅助线</source>
        <translation>Guide line</translation>
    </message>
    <message>
        <source>无</source>
        <translation>None</translation>
    </message>
    <message>
        <source>圆或椭圆</source>
        <translation>Circle or ellipse</translation>
    </message>
    <message>
        <source>矩形</source>
        <translation>Rectangle</translation>
    </message>
    <message>
        <source>左偏移</source>
        <translation>Left offset</translation>
    </message>
    <message>
        <source>右偏移</source>
        <translation>Right offset</translation>
    </message>
    <message>
        <source>上偏移</source>
        <translation>Top offset</translation>
    </message>
    <message>
        <source>下偏移</source>
        <translation>Bottom offset</translation>
    </message>
    <message>
        <source>线框</source>
        <translation>Box</translation>
    </message>
    <message>
        <source>填充框</source>
        <translation>Filled box</translation>
    </message>
    <message>
        <source>线圆</source>
        <translation>Circle</translation>
    </message>
    <message>
        <source>填充圆</source>
        <translation>Filled circle</translation>
    </message>
    <message>
        <source>点</source>
        <translation>Point</translation>
    </message>
    <message>
        <source>直线</source>
        <translation>Line</translation>
    </message>
    <message>
        <source>宽度</source>
        <translation>Width</translation>
    </message>
    <message>
        <source>高度</source>
        <translation>Height</translation>
    </message>
    <message>
        <source>圆心x</source>
        <translation>Center x</translation>
    </message>
    <message>
        <source>圆心y</source>
        <translation>Center y</translation>
    </message>
    <message>
        <source>半径</source>
        <translation>Radius</translation>
    </message>
    <message>
        <source>颜色</source>
        <translation>Color</translation>
    </message>
    <message>
        <source>长度</source>
        <translation>Length</translation>
    </message>
    <message>
        <source>角度(0-360)</source>
        <translation>Angle(0-360)</translation>
    </message>
    <message>
        <source>指针颜色</source>
        <translation>Pointer color</translation>
    </message>
    <message>
        <source>二维码内容</source>
        <translation>QR code content</translation>
    </message>
    <message>
        <source>二维码颜色</source>
        <translation>QR code color</translation>
    </message>
    <message>
        <source>数值</source>
        <translation>Value</translation>
    </message>
    <message>
        <source>进度值</source>
        <translation>Progress value</translation>
    </message>
    <message>
        <source>文本</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>边框模式</source>
        <translation>Border mode</translation>
    </message>
    <message>
        <source>无边框</source>
        <translation>No border</translation>
    </message>
    <message>
        <source>有边框</source>
        <translation>Border</translation>
    </message>
    <message>
        <source>模式</source>
        <translation>Mode</translation>
    </message>
    <message>
        <source>正向横放</source>
        <translation>Horizontal increasing</translation>
    </message>
    <message>
        <source>正向竖放</source>
        <translation>Vertical increasing</translation>
    </message>
    <message>
        <source>负向横放</source>
        <translation>Horizontal decreasing</translation>
    </message>
    <message>
        <source>负向竖放</source>
        <translation>Vertical decreasing</translation>
    </message>
    <message>
        <source>前景图片编号</source>
        <translation>Foreground image ID</translation>
    </message>
    <message>
        <source>背景图片编号</source>
        <translation>Background image ID</translation>
    </message>
    <message>
        <source>前景切图编号</source>
        <translation>Foreground cut image ID</translation>
    </message>
    <message>
        <source>背景切图编号</source>
        <translation>Background cut image ID</translation>
    </message>
    <message>
        <source>前景颜色</source>
        <translation>Foreground color</translation>
    </message>
    <message>
        <source>边框颜色</source>
        <translation>Border color</translation>
    </message>
    <message>
        <source>字体大小</source>
        <translation>Font size</translation>
    </message>
    <message>
        <source>字体颜色</source>
        <translation>Font color</translation>
    </message>
    <message>
        <source>水平对齐</source>
        <translation>Horizontal alignment</translation>
    </message>
    <message>
        <source>居中</source>
        <translation>Center</translation>
    </message>
    <message>
        <source>左对齐</source>
        <translation>Left</translation>
    </message>
    <message>
        <source>右对齐</source>
        <translation>Right</translation>
    </message>
    <message>
        <source>垂直对齐</source>
        <translation>Vertical alignment</translation>
    </message>
    <message>
        <source>上对齐</source>
        <translation>Top</translation>
    </message>
    <message>
        <source>下对齐</source>
        <translation>Bottom</translation>
    </message>
    <message>
        <source>无背景无边框</source>
        <translation>No background, no border</translation>
    </message>
    <message>
        <source>无背景有边框</source>
        <translation>No background, border</translation>
    </message>
    <message>
        <source>有背景下压</source>
        <translation>Background, pressed in</translation>
    </message>
    <message>
        <source>有背景无边框</source>
        <translation>Background, no border</translation>
    </message>
    <message>
        <source>有背景有边框</source>
        <translation>Background, border</translation>
    </message>
    <message>
        <source>按下背景颜色</source>
        <translation>Pressed background color</translation>
    </message>
    <message>
        <source>抬起背景颜色</source>
        <translation>Released background color</translation>
    </message>
    <message>
        <source>按下背景图片编号</source>
        <translation>Pressed background image ID</translation>
    </message>
    <message>
        <source>抬起背景图片编号</source>
        <translation>Released background image ID</translation>
    </message>
    <message>
        <source>按下背景切图编号</source>
        <translation>Pressed background cut image ID</translation>
    </message>
    <message>
        <source>抬起背景切图编号</source>
        <translation>Released background cut image ID</translation>
    </message>
    <message>
        <source>撤销</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>撤销“%1”</source>
        <translation>Undo "%1"</translation>
    </message>
    <message>
        <source>重做</source>
        <translation>Redo</translation>
    </message>
    <message>
        <source>重做“%1”</source>
        <translation>Redo "%1"</translation>
    </message>
    <message>
        <source>历史记录</source>
        <translation>History</translation>
    </message>
    <message>
        <source>模拟运行</source>
        <translation>Simulate</translation>
    </message>
    <message>
        <source>下载当前项目到模拟器并显示模拟器窗口</source>
        <translation>Download the project to the simulator and show the simulator window</translation>
    </message>
    <message>
        <source>下载中请稍后重试！</source>
        <translation>Downloading, please try again later!</translation>
    </message>
    <message>
        <source>预计用时：约%1</source>
        <translation>Estimated time: about %1</translation>
    </message>
    <message>
        <source>预计用时：仅页面约%1，同时下载资源约%2</source>
        <translation>Estimated time: pages only about %1, with the pictures about %2</translation>
    </message>
    <message>
        <source>图库资源有更改，是否继续下载当前项目到显示屏上？（建议您先下载图片资源）</source>
        <translation>The pictures have changed. Continue downloading the current project to the display? (Downloading the pictures first is advised)</translation>
    </message>
    <message>
        <source>是否下载当前项目到显示屏上？</source>
        <translation>Download the current project to the display?</translation>
    </message>
    <message>
        <source>--项目文件更新失败，波特率%1未写入项目文件！</source>
        <translation>--The project file could not be updated: baud rate %1 is not in it!</translation>
    </message>
    <message>
        <source>--项目文件更新失败，背光值%1未写入项目文件！</source>
        <translation>--The project file could not be updated: backlight %1 is not in it!</translation>
    </message>
    <message>
        <source>%1字节</source>
        <translation>%1 bytes</translation>
    </message>
    <message>
        <source>正在与显示屏通信，是否停止并退出？</source>
        <translation>Talking to the display. Stop and exit?</translation>
    </message>
    <message>
        <source>屏幕</source>
        <translation>Screen</translation>
    </message>
    <message>
        <source>//调整背光的亮度到20 范围：0为最亮 255为最暗</source>
        <translation>//Set the backlight to 20; range: 0 brightest, 255 darkest</translation>
    </message>
    <message>
        <source>//以(20,20)和(40,40)为对角画红色矩形框，1为颜色编号</source>
        <translation>//Red rectangle outline with corners (20,20) and (40,40); 1 is the colour number</translation>
    </message>
    <message>
        <source>//以(20,20)和(40,40)为对角画红色实心矩形，1为颜色编号</source>
        <translation>//Filled red rectangle with corners (20,20) and (40,40); 1 is the colour number</translation>
    </message>
    <message>
        <source>//支持的波特率4：9600</source>
        <translation>//Supported baud rate 4: 9600</translation>
    </message>
    <message>
        <source>//支持的波特率3：19200</source>
        <translation>//Supported baud rate 3: 19200</translation>
    </message>
    <message>
        <source>//支持的波特率2：38400</source>
        <translation>//Supported baud rate 2: 38400</translation>
    </message>
    <message>
        <source>//修改波特率为115200,掉电后自动保存设置,但注意波特率在修改过程中不允许掉电，建议只脱机修改一次</source>
        <translation>//Set the baud rate to 115200, kept after power-off; do not cut the power while it changes, and change it only once, offline</translation>
    </message>
    <message>
        <source>//在(80,80)显示按下效果的按钮，红色文字，黄色背景</source>
        <translation>//A pressed-looking button at (80,80), red text on yellow</translation>
    </message>
    <message>
        <source>//用颜色1填充整个屏幕</source>
        <translation>//Fill the whole screen with colour 1</translation>
    </message>
    <message>
        <source>//以(60,60)为圆心、3为半径画颜色1的空心圆</source>
        <translation>//Circle outline in colour 1, centre (60,60), radius 3</translation>
    </message>
    <message>
        <source>//以(60,60)为圆心、3为半径画颜色1的实心圆</source>
        <translation>//Filled circle in colour 1, centre (60,60), radius 3</translation>
    </message>
    <message>
        <source>//在(30,30)显示16点阵透明文字，颜色1</source>
        <translation>//Transparent text of size 16 at (30,30), colour 1</translation>
    </message>
    <message>
        <source>//在(30,30)显示16点阵带背景色的文字</source>
        <translation>//Text of size 16 with background colour at (30,30)</translation>
    </message>
    <message>
        <source>//在(30,30)显示24点阵透明文字</source>
        <translation>//Transparent text of size 24 at (30,30)</translation>
    </message>
    <message>
        <source>//在(30,30)显示24点阵带背景色的文字</source>
        <translation>//Text of size 24 with background colour at (30,30)</translation>
    </message>
    <message>
        <source>//在(30,30)显示32点阵透明文字</source>
        <translation>//Transparent text of size 32 at (30,30)</translation>
    </message>
    <message>
        <source>//在(30,30)显示32点阵带背景色的文字</source>
        <translation>//Text of size 32 with background colour at (30,30)</translation>
    </message>
    <message>
        <source>//在(30,46)显示48点阵文字，颜色1，最后的参数0为透明</source>
        <translation>//Text of size 48 at (30,46), colour 1; the last parameter 0 means transparent</translation>
    </message>
    <message>
        <source>//在(0,0)显示72点阵文字ABC，透明</source>
        <translation>//Text "ABC" of size 72 at (0,0), transparent</translation>
    </message>
    <message>
        <source>//在(0,0)显示96点阵文字ABC，透明</source>
        <translation>//Text "ABC" of size 96 at (0,0), transparent</translation>
    </message>
    <message>
        <source>//延时100ms</source>
        <translation>//Wait 100 ms</translation>
    </message>
    <message>
        <source>//d为方向选择参数d=0为默认原始竖屏方向d=1 为原始竖屏方向逆时针旋转90°的横屏 d=2为d=1顺时针旋转180</source>
        <translation>//d chooses the orientation: d=0 the default portrait, d=1 landscape turned 90° anticlockwise from it, d=2 is d=1 turned by 180</translation>
    </message>
    <message>
        <source>//在(0,0)正常显示0号图片，大小176x220，用于编号模式MODE_CFG(2)</source>
        <translation>//Picture 0 at (0,0), 176x220, shown normally; numbered mode MODE_CFG(2)</translation>
    </message>
    <message>
        <source>//按flash地址显示同一张图片，用于地址模式MODE_CFG(0)或MODE_CFG(1)</source>
        <translation>//The same picture by flash address; address mode MODE_CFG(0) or MODE_CFG(1)</translation>
    </message>
    <message>
        <source>//跳转到第一页</source>
        <translation>//Jump to the first page</translation>
    </message>
    <message>
        <source>//关闭lcd</source>
        <translation>//Switch the LCD off</translation>
    </message>
    <message>
        <source>//在(20,20)画一个颜色1的点</source>
        <translation>//One point at (20,20) in colour 1</translation>
    </message>
    <message>
        <source>//从(0,0)到(90,90)画颜色1的直线</source>
        <translation>//Straight line from (0,0) to (90,90) in colour 1</translation>
    </message>
    <message>
        <source>//把0号二维码的内容设为http://www.example.com</source>
        <translation>//Set the content of QR code 0 to http://www.example.com</translation>
    </message>
    <message>
        <source>//在(10,10)显示指向http://www.example.com的二维码，大小上限100（模块自动选择版本），颜色1，仅部分型号支持</source>
        <translation>//QR code for http://www.example.com at (10,10), size at most 100 (the module picks the version), colour 1; some models only</translation>
    </message>
    <message>
        <source>//重启模块</source>
        <translation>//Restart the module</translation>
    </message>
    <message>
        <source>//设置背景色为1，配合DCV和DC48使用</source>
        <translation>//Background colour 1, used with DCV and DC48</translation>
    </message>
    <message>
        <source>//设置1号按钮为按下状态</source>
        <translation>//Show button 1 pressed</translation>
    </message>
    <message>
        <source>//设置0号按钮松开状态的图片为1号图片并重绘</source>
        <translation>//Button 0: released picture number 1, and redraw</translation>
    </message>
    <message>
        <source>//3号数字控件显示20，3位数字</source>
        <translation>//Number control 3 shows 20 with 3 digits</translation>
    </message>
    <message>
        <source>//5号指针指向90度</source>
        <translation>//Pointer 5 to 90 degrees</translation>
    </message>
    <message>
        <source>//4号进度条设为50</source>
        <translation>//Progress bar 4 to 50</translation>
    </message>
    <message>
        <source>//设置文本2的内容为'关闭'，注意只支持16个中文</source>
        <translation>//Text 2 shows 'Close'; at most 16 Chinese characters</translation>
    </message>
    <message>
        <source>//1：小数点占半个字符宽度；0：恢复正常小数点</source>
        <translation>//1: the decimal point takes half a character; 0: back to the normal decimal point</translation>
    </message>
    <message>
        <source>//设置0号控件的背景色为1</source>
        <translation>//Control 0 background colour 1</translation>
    </message>
    <message>
        <source>//设置0号控件的第二背景色为1</source>
        <translation>//Control 0 second background colour 1</translation>
    </message>
    <message>
        <source>//设置0号控件的前景色为1</source>
        <translation>//Control 0 foreground colour 1</translation>
    </message>
    <message>
        <source>//设置0号控件的边框颜色为1</source>
        <translation>//Control 0 frame colour 1</translation>
    </message>
    <message>
        <source>//获取模块的固件版本信息</source>
        <translation>//Read the firmware version</translation>
    </message>
    <message>
        <source>//获取485地址信息</source>
        <translation>//Read the 485 address</translation>
    </message>
    <message>
        <source>//设置地址为1的地址头</source>
        <translation>//Address header for address 1</translation>
    </message>
    <message>
        <source>按钮</source>
        <translation>Button</translation>
    </message>
    <message>
        <source>串口模块</source>
        <translation>Serial module</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>批量下载</source>
        <translation>Batch download</translation>
    </message>
    <message>
        <source>把当前项目同时下载到多个模块</source>
        <translation>Download the project to many modules at once</translation>
    </message>
    <message>
        <source>&lt;打开时的项目&gt;</source>
        <translation>&lt;project as opened&gt;</translation>
    </message>
    <message>
        <source>选择要删除的图片，再按“-”删除</source>
        <translation>Tick the pictures to delete, then press "-"</translation>
    </message>
    <message>
        <source>选择要删除的字库，再按“-”删除</source>
        <translation>Tick the fonts to delete, then press "-"</translation>
    </message>
    <message>
        <source>开机显示此页</source>
        <translation>Shown after start-up</translation>
    </message>
    <message>
        <source>等%1处</source>
        <translation>and more (%1 in all)</translation>
    </message>
    <message>
        <source>找不到帮助文档“%1”，已查找的文件夹：
%2</source>
        <translation>The help document "%1" was not found. Folders searched:
%2</translation>
    </message>
    <message>
        <source>无法打开帮助文档“%1”（所在文件夹：%2），请安装能打开此类文件的程序后重试。</source>
        <translation>The help document "%1" (in the folder %2) could not be opened. Install a program that opens such files and try again.</translation>
    </message>
    <message>
        <source>移入页面</source>
        <translation>Move inside the page</translation>
    </message>
    <message>
        <source>第%1页有%2个控件，超过窗口可显示的%3个，项目未打开</source>
        <translation>Page %1 holds %2 controls, more than the %3 the window can show; the project was not opened</translation>
    </message>
    <message>
        <source>串口%1</source>
        <translation>Port %1</translation>
    </message>
    <message>
        <source>模拟器</source>
        <translation>Simulator</translation>
    </message>
    <message>
        <source>未连接</source>
        <translation>No target</translation>
    </message>
    <message>
        <source>控制台指令发送到的地方：已打开的串口，或正在运行的模拟器</source>
        <translation>Where the console sends its instructions: the open serial port or the running simulator</translation>
    </message>
    <message>
        <source>没有发送目标，请您先在“端口选择”中打开串口，或点击“模拟运行”！</source>
        <translation>Nothing to send to, please open a port in "Port Select" or click "Simulate" first!</translation>
    </message>
    <message numerus="yes">
        <source>页面变小后，有%n个控件或图形超出页面（其中%1个完全在页面之外）。是否将它们移入页面内？</source>
        <translation>
            <numerusform>With the smaller page, %n control or shape lies outside it (%1 wholly). Move it inside the page?</numerusform>
            <numerusform>With the smaller page, %n controls or shapes lie outside it (%1 of them wholly). Move them inside the page?</numerusform>
        </translation>
    </message>
    <message>
        <source>[模拟器]</source>
        <translation>[Simulator]</translation>
    </message>
    <message>
        <source>正在检查图片，请稍候……</source>
        <translation>Checking the pictures, please wait...</translation>
    </message>
    <message>
        <source>正在检查图片：%1/%2</source>
        <translation>Checking pictures: %1/%2</translation>
    </message>
    <message>
        <source>重命名页面</source>
        <translation>Rename page</translation>
    </message>
    <message>
        <source>Page%1 的名称（固件代码使用；留空表示不命名）：</source>
        <translation>Name of Page%1 (used by the firmware code; leave empty for none):</translation>
    </message>
    <message>
        <source>名称</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>导出固件接口…</source>
        <translation>Export firmware bindings...</translation>
    </message>
    <message>
        <source>控件编号已改变，固件接口需要重新导出</source>
        <translation>Control numbers have changed; export the firmware bindings again</translation>
    </message>
    <message>
        <source>请选择导出的位置！</source>
        <translation>Choose where to export to!</translation>
    </message>
    <message>
        <source>导出固件接口失败：%1</source>
        <translation>Exporting the firmware bindings failed: %1</translation>
    </message>
    <message>
        <source>已导出固件接口：
%1
字符表：%2个汉字等字符</source>
        <translation>Firmware bindings exported:
%1
Character table: %2 Chinese and other characters</translation>
    </message>
    <message>
        <source>添加页</source>
        <translation>Add page</translation>
    </message>
    <message>
        <source>删除当前页</source>
        <translation>Delete current page</translation>
    </message>
    <message>
        <source>添加图片</source>
        <translation>Add pictures</translation>
    </message>
    <message>
        <source>删除图片</source>
        <translation>Delete pictures</translation>
    </message>
    <message>
        <source>在此输入指令（Ctrl+Tab 输入制表符）</source>
        <translation>Type instructions here (Ctrl+Tab types a tab)</translation>
    </message>
    <message>
        <source>上移页面</source>
        <translation>Move page up</translation>
    </message>
    <message>
        <source>下移页面</source>
        <translation>Move page down</translation>
    </message>
    <message>
        <source>文件不存在</source>
        <translation>The file does not exist</translation>
    </message>
    <message>
        <source>（没有最近的项目）</source>
        <translation>(No recent projects)</translation>
    </message>
    <message>
        <source>移除不存在的项目</source>
        <translation>Remove missing projects</translation>
    </message>
    <message>
        <source>清空列表</source>
        <translation>Clear list</translation>
    </message>
<message>
        <source>第%1页指令字节数超过了%2字节，请您重新调整！</source>
        <translation>The instructions of page %1 exceed %2 bytes, please adjust!</translation>
    </message>
<message>
        <source>开机动画设置的ID已超过总图片的数目，请您重新设置！</source>
        <translation>The boot animation ID exceeds the number of pictures, please set it again!</translation>
    </message>
<message>
        <source>BOOT指令字节数超过了%1字节，请您重新调整！</source>
        <translation>The BOOT instructions exceed %1 bytes, please adjust!</translation>
    </message>
</context>
<context>
    <name>ModuleInstructions</name>
    <message>
        <source>无法识别的指令：%1</source>
        <translation>unreadable instruction: %1</translation>
    </message>
    <message>
        <source>参数过多：%1</source>
        <translation>too many arguments: %1</translation>
    </message>
    <message>
        <source>指令不完整：%1</source>
        <translation>incomplete instruction: %1</translation>
    </message>
    <message>
        <source>指令后缺少分号：%1</source>
        <translation>missing semicolon after instruction: %1</translation>
    </message>
</context>
<context>
    <name>ModuleLookSwitch</name>
    <message>
        <source>模块效果</source>
        <translation>Module look</translation>
    </message>
    <message>
        <source>按模块的像素显示当前页（只读；编辑请关闭）</source>
        <translation>Show the current page in the module's own pixels (read-only; switch off to edit)</translation>
    </message>
</context>
<context>
    <name>ModuleRuntime</name>
    <message>
        <source>宽度</source>
        <translation>width</translation>
    </message>
    <message>
        <source>高度</source>
        <translation>height</translation>
    </message>
    <message>
        <source>没有图片%1</source>
        <translation>no picture %1</translation>
    </message>
    <message>
        <source>坐标</source>
        <translation>coordinate</translation>
    </message>
    <message>
        <source>半径</source>
        <translation>radius</translation>
    </message>
    <message>
        <source>参数错误</source>
        <translation>wrong arguments</translation>
    </message>
    <message>
        <source>需要%1个参数</source>
        <translation>%1 arguments needed</translation>
    </message>
    <message>
        <source>第%1个参数不是整数</source>
        <translation>argument %1 is not an integer</translation>
    </message>
    <message>
        <source>尺寸</source>
        <translation>size</translation>
    </message>
    <message>
        <source>文本须用单引号括起</source>
        <translation>the text must be in single quotes</translation>
    </message>
    <message>
        <source>文本超过%1字节</source>
        <translation>text longer than %1 bytes</translation>
    </message>
    <message>
        <source>长度</source>
        <translation>length</translation>
    </message>
    <message>
        <source>按下效果</source>
        <translation>pressed look</translation>
    </message>
    <message>
        <source>参数不是整数</source>
        <translation>an argument is not an integer</translation>
    </message>
    <message>
        <source>显示方式</source>
        <translation>display mode</translation>
    </message>
    <message>
        <source>背光值</source>
        <translation>backlight value</translation>
    </message>
    <message>
        <source>方向</source>
        <translation>direction</translation>
    </message>
    <message>
        <source>页面脚本中不能跳转</source>
        <translation>a page script cannot jump</translation>
    </message>
    <message>
        <source>没有第%1页</source>
        <translation>no page %1</translation>
    </message>
    <message>
        <source>地址%1处没有图片数据</source>
        <translation>no picture data at address %1</translation>
    </message>
    <message>
        <source>控件编号不是整数</source>
        <translation>the control number is not an integer</translation>
    </message>
    <message>
        <source>当前页没有控件%1</source>
        <translation>the current page has no control %1</translation>
    </message>
    <message>
        <source>当前页没有二维码%1</source>
        <translation>the current page has no QR code %1</translation>
    </message>
    <message>
        <source>控件%1不是文本或按键</source>
        <translation>control %1 is not a text or a button</translation>
    </message>
    <message>
        <source>位数</source>
        <translation>digits</translation>
    </message>
    <message>
        <source>数值错误</source>
        <translation>wrong value</translation>
    </message>
    <message>
        <source>控件%1不是数字</source>
        <translation>control %1 is not a number</translation>
    </message>
    <message>
        <source>进度</source>
        <translation>progress</translation>
    </message>
    <message>
        <source>控件%1不是进度条</source>
        <translation>control %1 is not a progress bar</translation>
    </message>
    <message>
        <source>角度</source>
        <translation>angle</translation>
    </message>
    <message>
        <source>控件%1不是指针</source>
        <translation>control %1 is not a pointer</translation>
    </message>
    <message>
        <source>按键状态</source>
        <translation>button state</translation>
    </message>
    <message>
        <source>控件%1不是按键</source>
        <translation>control %1 is not a button</translation>
    </message>
    <message>
        <source>参数</source>
        <translation>argument</translation>
    </message>
    <message>
        <source>延时</source>
        <translation>delay</translation>
    </message>
    <message>
        <source>脚本中不能重启</source>
        <translation>a script cannot restart the module</translation>
    </message>
    <message>
        <source>地址</source>
        <translation>address</translation>
    </message>
    <message>
        <source>不支持的波特率</source>
        <translation>unsupported baud rate</translation>
    </message>
    <message>
        <source>地址%1不是本模块的地址，忽略：%2</source>
        <translation>address %1 is not this module's address, ignored: %2</translation>
    </message>
    <message>
        <source>等待执行的指令过多，忽略：%1</source>
        <translation>too many instructions waiting, ignored: %1</translation>
    </message>
    <message>
        <source>脚本过长，只执行前%1条指令</source>
        <translation>script too long, only the first %1 instructions run</translation>
    </message>
    <message>
        <source>未知指令</source>
        <translation>unknown instruction</translation>
    </message>
    <message>
        <source>已忽略 %1：%2</source>
        <translation>ignored %1: %2</translation>
    </message>
<message>
        <source>%1超出范围 %2..%3</source>
        <translation>%1 out of range %2..%3</translation>
    </message>
<message>
        <source>参数过多：%1</source>
        <translation>too many arguments: %1</translation>
    </message>
<message>
        <source>指令不完整：%1</source>
        <translation>incomplete instruction: %1</translation>
    </message>
<message>
        <source>指令后缺少分号：%1</source>
        <translation>missing semicolon after instruction: %1</translation>
    </message>
<message>
        <source>无法识别的指令：%1</source>
        <translation>unreadable instruction: %1</translation>
    </message>
<message>
        <source>颜色号</source>
        <translation>colour number</translation>
    </message>
</context>
<context>
    <name>Names</name>
    <message>
        <source>名称“%1”过长：最多%2个字符</source>
        <translation>The name "%1" is too long: at most %2 characters</translation>
    </message>
    <message>
        <source>名称“%1”无效：须以英文字母或下划线开头，其后只用英文字母、数字和下划线</source>
        <translation>The name "%1" is not valid: it must start with an English letter or an underscore, followed only by English letters, digits and underscores</translation>
    </message>
    <message>
        <source>名称“%1”已被使用</source>
        <translation>The name "%1" is already in use</translation>
    </message>
</context>
<context>
    <name>PageFit</name>
    <message>
        <source>第%1页图形%2完全在页面之外，模块上不会显示</source>
        <translation>Shape %2 on page %1 lies wholly outside the page and will not be seen on the module</translation>
    </message>
    <message>
        <source>第%1页二维码%2完全在页面之外，模块上不会显示</source>
        <translation>QR code %2 on page %1 lies wholly outside the page and will not be seen on the module</translation>
    </message>
    <message>
        <source>第%1页控件%2完全在页面之外，模块上不会显示</source>
        <translation>Control %2 on page %1 lies wholly outside the page and will not be seen on the module</translation>
    </message>
</context>
<context>
    <name>PictureChange</name>
    <message>
        <source>导入图片</source>
        <translation>Import pictures</translation>
    </message>
    <message>
        <source>删除图片</source>
        <translation>Delete pictures</translation>
    </message>
</context>
<context>
    <name>PictureFiles</name>
    <message>
        <source>%1：文件不存在</source>
        <translation>%1: the file does not exist</translation>
    </message>
    <message>
        <source>%1：不是可读取的图片</source>
        <translation>%1: not a readable picture</translation>
    </message>
    <message>
        <source>%1：图片尺寸过大</source>
        <translation>%1: the picture is too large</translation>
    </message>
    <message>
        <source>%1：复制到项目文件夹失败</source>
        <translation>%1: copying into the project folder failed</translation>
    </message>
    <message>
        <source>以下图片未能导入：</source>
        <translation>These pictures could not be imported:</translation>
    </message>
    <message>
        <source>%1：文件名含换行等控制字符</source>
        <translation>%1: the file name holds a line break or another control character</translation>
    </message>
    <message>
        <source>另一个程序正在修改该项目的图片，请稍后再试。</source>
        <translation>Another program is changing this project's pictures; please try again later.</translation>
    </message>
    <message>
        <source>未保存图片的记录“%1”已损坏或不可信，已忽略，图片文件夹未作改动。</source>
        <translation>The note of unsaved pictures "%1" is damaged or cannot be trusted; it was ignored and the picture folder was left unchanged.</translation>
    </message>
</context>
<context>
    <name>PictureReader</name>
    <message>
        <source>无法读取</source>
        <translation>unreadable</translation>
    </message>
    <message>
        <source>尺寸过大</source>
        <translation>too large</translation>
    </message>
</context>
<context>
    <name>PictureUses</name>
    <message>
        <source>第%1页背景</source>
        <translation>the background of page %1</translation>
    </message>
    <message>
        <source>第%1页二维码%2</source>
        <translation>QR code %2 on page %1</translation>
    </message>
    <message>
        <source>第%1页控件%2</source>
        <translation>control %2 on page %1</translation>
    </message>
    <message>
        <source>开机动画</source>
        <translation>the boot animation</translation>
    </message>
    <message>
        <source>%1等%2处</source>
        <translation>%1 and more (%2 in all)</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>图片%1被%2使用</source>
        <translation>Picture %1 is used by %2</translation>
    </message>
    <message>
        <source>等%1张图片正被使用</source>
        <translation>%1 pictures in use in all</translation>
    </message>
</context>
<context>
    <name>ProductionWatch</name>
    <message>
        <source>第%1个模块：成功</source>
        <translation>Module %1: succeeded</translation>
    </message>
    <message>
        <source>第%1个模块：失败：%2</source>
        <translation>Module %1: failed: %2</translation>
    </message>
    <message>
        <source>共%1个模块：成功%2个，失败%3个</source>
        <translation>%1 modules: %2 succeeded, %3 failed</translation>
    </message>
    <message>
        <source>正在等待模块接入，按Ctrl+C结束……</source>
        <translation>Waiting for modules to be plugged in; Ctrl+C ends...</translation>
    </message>
    <message>
        <source>正在等待进行中的下载结束……</source>
        <translation>Waiting for the downloads under way to end...</translation>
    </message>
</context>
<context>
    <name>ProjectFile</name>
    <message>
        <source>%1：元素嵌套超过%2层</source>
        <translation>%1: elements nested deeper than %2 levels</translation>
    </message>
    <message>
        <source>%1：%2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>项目文件</source>
        <translation>project file</translation>
    </message>
    <message>
        <source>%1 第%2行第%3列</source>
        <translation>%1 line %2 column %3</translation>
    </message>
    <message>
        <source>%1：无法打开文件（%2）</source>
        <translation>%1: cannot open the file (%2)</translation>
    </message>
    <message>
        <source>第%1字节不是有效的UTF-8编码</source>
        <translation>byte %1 is not valid UTF-8</translation>
    </message>
    <message>
        <source>外部实体“%1”不予读取</source>
        <translation>external entity "%1" is not read</translation>
    </message>
<message>
        <source>%1：元素“ClassName”的控件类名“%2”未知</source>
        <translation>%1: unknown control class name "%2" in element "ClassName"</translation>
    </message>
<message>
        <source>%1：元素“DrawClassName”的图形类型“%2”不在1到6之间</source>
        <translation>%1: shape kind "%2" of element "DrawClassName" is not between 1 and 6</translation>
    </message>
<message>
        <source>%1：元素“%2”出现在任何页面之前</source>
        <translation>%1: element "%2" comes before any page</translation>
    </message>
<message>
        <source>%1：文件过大（%2字节，最多%3字节）</source>
        <translation>%1: file too large (%2 bytes, at most %3 bytes)</translation>
    </message>
</context>
<context>
    <name>ProjectHistory</name>
    <message>
        <source>添加页</source>
        <translation>Add page</translation>
    </message>
    <message>
        <source>删除页</source>
        <translation>Delete page</translation>
    </message>
    <message>
        <source>修改页面</source>
        <translation>Change page</translation>
    </message>
    <message>
        <source>绘制图形</source>
        <translation>Draw shape</translation>
    </message>
    <message>
        <source>修改属性</source>
        <translation>Change properties</translation>
    </message>
    <message>
        <source>修改页面属性</source>
        <translation>Change page properties</translation>
    </message>
    <message>
        <source>修改分辨率或方向</source>
        <translation>Change resolution or orientation</translation>
    </message>
    <message>
        <source>修改开机设置</source>
        <translation>Change boot settings</translation>
    </message>
    <message>
        <source>重命名页面</source>
        <translation>Rename page</translation>
    </message>
    <message>
        <source>移动页面</source>
        <translation>Move page</translation>
    </message>
    <message numerus="yes">
        <source>添加 %n 个控件</source>
        <translation>
            <numerusform>Add %n control</numerusform>
            <numerusform>Add %n controls</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>删除 %n 个对象</source>
        <translation>
            <numerusform>Delete %n item</numerusform>
            <numerusform>Delete %n items</numerusform>
        </translation>
    </message>
    <message>
        <source>修改属性：%1</source>
        <translation>Change %1</translation>
    </message>
    <message numerus="yes">
        <source>移动 %n 个对象</source>
        <translation>
            <numerusform>Move %n item</numerusform>
            <numerusform>Move %n items</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>调整 %n 个对象的大小</source>
        <translation>
            <numerusform>Resize %n item</numerusform>
            <numerusform>Resize %n items</numerusform>
        </translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
</context>
<context>
    <name>PropertyPanel</name>
    <message>
        <source>%1 个对象</source>
        <translation>%1 items</translation>
    </message>
    <message>
        <source>请输入整数！</source>
        <translation>Please enter a whole number.</translation>
    </message>
</context>
<context>
    <name>QMyFrame</name>
    <message>
        <source>复制</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>粘贴</source>
        <translation>Paste</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>未添加页，请您先添加页！</source>
        <translation>No page added, please add a page first!</translation>
    </message>
    <message>
        <source>每页添加的控件不能超过%1个！</source>
        <translation>No more than %1 controls per page!</translation>
    </message>
    <message>
        <source>每页添加的二维码不能超过%1个！</source>
        <translation>No more than %1 QR codes per page!</translation>
    </message>
    <message>
        <source>对齐</source>
        <translation>Align</translation>
    </message>
    <message>
        <source>左对齐</source>
        <translation>Align left</translation>
    </message>
    <message>
        <source>右对齐</source>
        <translation>Align right</translation>
    </message>
    <message>
        <source>顶端对齐</source>
        <translation>Align top</translation>
    </message>
    <message>
        <source>底端对齐</source>
        <translation>Align bottom</translation>
    </message>
    <message>
        <source>水平居中</source>
        <translation>Align horizontal centres</translation>
    </message>
    <message>
        <source>垂直居中</source>
        <translation>Align vertical centres</translation>
    </message>
    <message>
        <source>水平等距分布</source>
        <translation>Distribute horizontally</translation>
    </message>
    <message>
        <source>垂直等距分布</source>
        <translation>Distribute vertically</translation>
    </message>
    <message>
        <source>等宽</source>
        <translation>Same width</translation>
    </message>
    <message>
        <source>等高</source>
        <translation>Same height</translation>
    </message>
    <message>
        <source>全选</source>
        <translation>Select all</translation>
    </message>
    <message>
        <source>复制一份</source>
        <translation>Duplicate</translation>
    </message>
</context>
<context>
    <name>QMyLabel</name>
    <message>
        <source>文本</source>
        <translation>Text</translation>
    </message>
</context>
<context>
    <name>QMyMessageBox</name>
    <message>
        <source>同时下载资源</source>
        <translation>Download pictures too</translation>
    </message>
    <message>
        <source>警告</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Hint</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>否</source>
        <translation>No</translation>
    </message>
    <message>
        <source>是</source>
        <translation>Yes</translation>
    </message>
</context>
<context>
    <name>QMyProgressBarMes</name>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>完成</source>
        <translation>Finish</translation>
    </message>
    <message>
        <source>下载进度</source>
        <translation>Download progress</translation>
    </message>
</context>
<context>
    <name>QMyPushButton</name>
    <message>
        <source>按键</source>
        <translation>Button</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>文本</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>数字</source>
        <translation>Num</translation>
    </message>
    <message>
        <source>按键</source>
        <translation>Button</translation>
    </message>
    <message>
        <source>进度条</source>
        <translation>Progress</translation>
    </message>
    <message>
        <source>指针</source>
        <translation>Pointer</translation>
    </message>
    <message>
        <source>二维码</source>
        <translation>QR code</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>画线框</source>
        <translation>BOX</translation>
    </message>
    <message>
        <source>画填充框</source>
        <translation>BOXF</translation>
    </message>
    <message>
        <source>画线圆</source>
        <translation>CIR</translation>
    </message>
    <message>
        <source>画填充圆</source>
        <translation>CIRF</translation>
    </message>
    <message>
        <source>画点</source>
        <translation>PS</translation>
    </message>
    <message>
        <source>画直线</source>
        <translation>PL</translation>
    </message>
</context>
<context>
    <name>QtTreePropertyBrowser</name>
    <message>
        <source>属性</source>
        <translation>Property</translation>
    </message>
    <message>
        <source>值</source>
        <translation>Value</translation>
    </message>
</context>
<context>
    <name>QtUserTypeOne_ImageWidget</name>
    <message>
        <source>设置</source>
        <translation>Set</translation>
    </message>
    <message>
        <source>移除</source>
        <translation>Del</translation>
    </message>
    <message>
        <source>未选择图片，请您在图库中选择一张图片！</source>
        <translation>Not selected picture, please select a picture in the gallery!</translation>
    </message>
    <message>
        <source>从图库中选择图片</source>
        <translation>Choose a picture from the library</translation>
    </message>
    <message>
        <source>图库中没有图片</source>
        <translation>The library holds no pictures</translation>
    </message>
</context>
<context>
    <name>QtUserTypeTwo_ColorWidget</name>
    <message>
        <source>设置</source>
        <translation>Set</translation>
    </message>
</context>
<context>
    <name>Reader</name>
    <message>
        <source>%1 第%2行第%3列</source>
        <translation>%1 line %2 column %3</translation>
    </message>
    <message>
        <source>%1：元素“ClassName”的控件类名“%2”未知</source>
        <translation>%1: unknown control class name "%2" in element "ClassName"</translation>
    </message>
    <message>
        <source>%1：元素“DrawClassName”的图形类型“%2”不在1到6之间</source>
        <translation>%1: shape kind "%2" of element "DrawClassName" is not between 1 and 6</translation>
    </message>
    <message>
        <source>%1：元素“%2”出现在任何页面之前</source>
        <translation>%1: element "%2" comes before any page</translation>
    </message>
</context>
<context>
    <name>RegularFile</name>
    <message>
        <source>%1不是普通文件，已跳过！</source>
        <translation>%1 is not a regular file and was skipped!</translation>
    </message>
</context>
<context>
    <name>Script</name>
    <message>
        <source>第%1页%2控件%3的文本含有换行符，请您修改！</source>
        <translation>The text of %2 control %3 on page %1 contains a line break, please change it!</translation>
    </message>
    <message>
        <source>第%1页%2控件%3的文本含有单引号，请您修改！</source>
        <translation>The text of %2 control %3 on page %1 contains a single quote, please change it!</translation>
    </message>
    <message>
        <source>第%1页%2控件%3的数值格式不对，请您修改！</source>
        <translation>The number of %2 control %3 on page %1 is not well formed, please change it!</translation>
    </message>
    <message>
        <source>第%1页%2控件%3的文本含有显示屏不支持的字符，请您修改！</source>
        <translation>The text of %2 control %3 on page %1 contains characters the display does not support, please change it!</translation>
    </message>
    <message>
        <source>文本含有换行符，请您修改！</source>
        <translation>The text contains a line break, please change it!</translation>
    </message>
    <message>
        <source>文本含有单引号，请您修改！</source>
        <translation>The text contains a single quote, please change it!</translation>
    </message>
    <message>
        <source>第%1页%2控件%3的文本含有分号，请您修改！</source>
        <translation>The text of %2 control %3 on page %1 contains a semicolon, please change it!</translation>
    </message>
    <message>
        <source>文本含有分号，请您修改！</source>
        <translation>The text contains a semicolon, please change it!</translation>
    </message>
    <message>
        <source>第%1页%2控件%3的数值为空，请您修改！</source>
        <translation>The number of %2 control %3 on page %1 is empty, please change it!</translation>
    </message>
    <message>
        <source>数值不能为空，请您修改！</source>
        <translation>The number cannot be empty, please change it!</translation>
    </message>
    <message>
        <source>数值格式不对，请您修改！</source>
        <translation>The number is not well formed, please change it!</translation>
    </message>
    <message>
        <source>文本含有显示屏不支持的字符，请您修改！</source>
        <translation>The text contains characters the display does not support, please change it!</translation>
    </message>
</context>
<context>
    <name>SerialPortDlg</name>
    <message>
        <source>第%1页编号%2,</source>
        <translation>Page %1 number %2, </translation>
    </message>
    <message>
        <source>第%1页控件数量已超过%2！</source>
        <translation>The number of controls on page %1 exceeds %2!</translation>
    </message>
    <message>
        <source>第%1页字节数已超过%2！</source>
        <translation>The bytes of page %1 exceed %2!</translation>
    </message>
    <message>
        <source>%1文本字符已超过%2！</source>
        <translation>%1 text characters exceed %2!</translation>
    </message>
    <message>
        <source>显示屏应答无法识别，下载失败！</source>
        <translation>The answer of the display cannot be recognized, download failed!</translation>
    </message>
    <message>
        <source>剩余 %1</source>
        <translation>%1 left</translation>
    </message>
    <message>
        <source>正在查找模块：%1，%2</source>
        <translation>Looking for the module: %1, %2</translation>
    </message>
    <message>
        <source>端口选择</source>
        <translation>Port Select</translation>
    </message>
    <message>
        <source>端口：</source>
        <translation>Port:</translation>
    </message>
    <message>
        <source>波特率：</source>
        <translation>Baud rate:</translation>
    </message>
    <message>
        <source>通信测试</source>
        <translation>Link test</translation>
    </message>
    <message>
        <source>停止查找</source>
        <translation>Stop finding</translation>
    </message>
    <message>
        <source>查找模块</source>
        <translation>Find module</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>虚拟模块</source>
        <translation>Virtual module</translation>
    </message>
    <message>
        <source>串口未连接！</source>
        <translation>Port not connected!</translation>
    </message>
    <message>
        <source>打开串口</source>
        <translation>Open port</translation>
    </message>
    <message>
        <source>正在查找模块：%1</source>
        <translation>Looking for the module: %1</translation>
    </message>
    <message>
        <source>串口已连接！</source>
        <translation>Port connected!</translation>
    </message>
    <message>
        <source>串口已断开！</source>
        <translation>Port disconnected!</translation>
    </message>
    <message>
        <source>关闭串口</source>
        <translation>Close port</translation>
    </message>
    <message>
        <source>图片下载进度</source>
        <translation>Picture download progress</translation>
    </message>
    <message>
        <source>下载中请稍后重试！</source>
        <translation>Download in progress, please try again later!</translation>
    </message>
    <message>
        <source>--找到模块：%1，波特率%2</source>
        <translation>--Module found: %1, baud rate %2</translation>
    </message>
    <message>
        <source>已找到模块：%1，波特率%2</source>
        <translation>Module found: %1, baud rate %2</translation>
    </message>
    <message>
        <source>未找到模块，请检查连接和电源！</source>
        <translation>No module found, please check the cable and the power!</translation>
    </message>
    <message>
        <source>--接收:</source>
        <translation>--Received:</translation>
    </message>
    <message>
        <source>通信未连接，请您先连接通信！</source>
        <translation>Not connected, please connect first!</translation>
    </message>
    <message>
        <source>下载失败，下载图片的bin文件总大小超过11M！</source>
        <translation>Download failed, the pictures to download exceed 11M in total!</translation>
    </message>
<message>
        <source>通信已断开，下载失败！</source>
        <translation>Communication lost, download failed!</translation>
    </message>
<message>
        <source>串口%1已拔出！</source>
        <translation>Serial port %1 was unplugged!</translation>
    </message>
<message>
        <source>下载失败，下载图片的bin文件总大小超过2M！</source>
        <translation>Download failed, the pictures to download exceed 2M in total!</translation>
    </message>
<message>
        <source>下载失败，下载图片的bin文件总大小超过3M！</source>
        <translation>Download failed, the pictures to download exceed 3M in total!</translation>
    </message>
<message>
        <source>--下载图片进度总大小:%1 擦除进度:%2</source>
        <translation>--Picture download total size:%1 erase progress:%2</translation>
    </message>
<message>
        <source>--下载图片进度总大小:%1 配置进度:%2</source>
        <translation>--Picture download total size:%1 write progress:%2</translation>
    </message>
<message>
        <source>--串口已切换到%1波特率</source>
        <translation>--The port now runs at %1 baud</translation>
    </message>
<message>
        <source>--串口无法切换到%1波特率，请您重新打开串口！</source>
        <translation>--The port cannot switch to %1 baud, please open it again!</translation>
    </message>
<message>
        <source>--发送:</source>
        <translation>--Sent:</translation>
    </message>
</context>
<context>
    <name>SetScreenSizeDlg</name>
    <message>
        <source>设置分辨率</source>
        <translation>Set Dpi</translation>
    </message>
    <message>
        <source>分辨率：</source>
        <translation>Dpi:</translation>
    </message>
    <message>
        <source>横竖屏：</source>
        <translation>Orientation:</translation>
    </message>
    <message>
        <source>竖屏1</source>
        <translation>Portrait 1</translation>
    </message>
    <message>
        <source>横屏1</source>
        <translation>Landscape 1</translation>
    </message>
    <message>
        <source>竖屏2</source>
        <translation>Portrait 2</translation>
    </message>
    <message>
        <source>横屏2</source>
        <translation>Landscape 2</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>SimulatorRun</name>
    <message>
        <source>无法启动模拟器：%1</source>
        <translation>Cannot start the simulator: %1</translation>
    </message>
    <message>
        <source>下载中请稍后重试！</source>
        <translation>Downloading, please try again later!</translation>
    </message>
    <message>
        <source>模拟器未运行！</source>
        <translation>The simulator is not running!</translation>
    </message>
</context>
<context>
    <name>SimulatorWindow</name>
    <message>
        <source>收到</source>
        <translation>Received</translation>
    </message>
    <message>
        <source>应答</source>
        <translation>Answered</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Note</translation>
    </message>
    <message>
        <source>模拟器</source>
        <translation>Simulator</translation>
    </message>
    <message>
        <source>缩放：</source>
        <translation>Zoom:</translation>
    </message>
    <message>
        <source>发送</source>
        <translation>Send</translation>
    </message>
    <message>
        <source>清空</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>输入指令，例如 SET_TXT(0,'你好');</source>
        <translation>Type an instruction, e.g. SET_TXT(0,'Hello');</translation>
    </message>
    <message>
        <source>页面：无</source>
        <translation>Page: none</translation>
    </message>
    <message>
        <source>页面：%1</source>
        <translation>Page: %1</translation>
    </message>
    <message>
        <source>竖屏1</source>
        <translation>Portrait 1</translation>
    </message>
    <message>
        <source>横屏1</source>
        <translation>Landscape 1</translation>
    </message>
    <message>
        <source>竖屏2</source>
        <translation>Portrait 2</translation>
    </message>
    <message>
        <source>横屏2</source>
        <translation>Landscape 2</translation>
    </message>
    <message>
        <source>方向：%1 (%2)</source>
        <translation>Orientation: %1 (%2)</translation>
    </message>
    <message>
        <source>背光：%1</source>
        <translation>Backlight: %1</translation>
    </message>
    <message>
        <source>背光：%1 (屏幕关闭)</source>
        <translation>Backlight: %1 (LCD off)</translation>
    </message>
</context>
<context>
    <name>SysDlg</name>
    <message>
        <source>显示屏设置</source>
        <translation>Screen set</translation>
    </message>
    <message>
        <source>波特率</source>
        <translation>Baud rate</translation>
    </message>
    <message>
        <source>设置</source>
        <translation>Set</translation>
    </message>
    <message>
        <source>屏幕亮度</source>
        <translation>Screen brightness</translation>
    </message>
    <message>
        <source>写入485地址</source>
        <translation>Write 485 address</translation>
    </message>
    <message>
        <source>使能地址</source>
        <translation>Enable</translation>
    </message>
    <message>
        <source>地址：</source>
        <translation>Address:</translation>
    </message>
    <message>
        <source>地址范围：0-255</source>
        <translation>Range: 0-255</translation>
    </message>
    <message>
        <source>写入</source>
        <translation>Write</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>请您输入地址！</source>
        <translation>Please enter the address!</translation>
    </message>
</context>
<context>
    <name>Version</name>
    <message>
        <source>版本信息</source>
        <translation>Version</translation>
    </message>
    <message>
        <source>版本信息：</source>
        <translation>Version:</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>VirtualModule</name>
    <message>
        <source>闪存已满：%1字节的数据块放不下（闪存%2 MiB）</source>
        <translation>Flash full: a block of %1 bytes does not fit (flash %2 MiB)</translation>
    </message>
</context>
<context>
    <name>ZoomBox</name>
    <message>
        <source>适合窗口</source>
        <translation>Fit window</translation>
    </message>
    <message>
        <source>缩放</source>
        <translation>Zoom</translation>
    </message>
</context>
</TS>
