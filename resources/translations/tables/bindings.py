# Firmware bindings: the export dialog and the window's messages about it.
_dialog = {
 '导出固件接口': 'Export firmware bindings',
 'C 语言（.h 和 .c）': 'C (.h and .c)',
 'Python 模块': 'Python module',
 '文件：': 'File:',
 '文件夹：': 'Folder:',
 '浏览…': 'Browse...',
 '名称前缀：': 'Name prefix:',
 '包含全部GBK字符（固件可发送任意汉字，代码更大）': 'Include every GBK character (the firmware may send any Chinese character; larger code)',
 '生成的文件每次导出都会整个覆盖，请勿在其中编写自己的代码。': 'The generated files are rewritten whole on every export: do not put your own code in them.',
 '导出': 'Export',
 '取消': 'Cancel',
}
for _src, _en in _dialog.items():
    T[('BindingsDlg', _src)] = _en

_window = {
 '导出固件接口…': 'Export firmware bindings...',
 '请选择导出的位置！': 'Choose where to export to!',
 '导出固件接口失败：%1': 'Exporting the firmware bindings failed: %1',
 '已导出固件接口：\n%1\n字符表：%2个汉字等字符': 'Firmware bindings exported:\n%1\nCharacter table: %2 Chinese and other characters',
 '控件编号已改变，固件接口需要重新导出': 'Control numbers have changed; export the firmware bindings again',
}
for _src, _en in _window.items():
    T[('MainWindow', _src)] = _en
