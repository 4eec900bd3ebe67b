# Many modules at once: the batch orchestrator, production mode and the "批量下载" dialog.
_batch = {
 '串口%1打开失败：%2': 'Cannot open serial port %1: %2',
 '%1和%2是同一个串口，不能同时下载！': '%1 and %2 are the same serial port; it cannot take two downloads at once!',
 '串口%1正在下载中！': 'Serial port %1 is already downloading!',
}
for _src, _en in _batch.items():
    T[('BatchDownload', _src)] = _en

_watch = {
 '第%1个模块：成功': 'Module %1: succeeded',
 '第%1个模块：失败：%2': 'Module %1: failed: %2',
 '共%1个模块：成功%2个，失败%3个': '%1 modules: %2 succeeded, %3 failed',
 '正在等待模块接入，按Ctrl+C结束……': 'Waiting for modules to be plugged in; Ctrl+C ends...',
 '正在等待进行中的下载结束……': 'Waiting for the downloads under way to end...',
}
for _src, _en in _watch.items():
    T[('ProductionWatch', _src)] = _en

_dialog = {
 '批量下载': 'Batch download',
 '端口：': 'Ports:',
 '虚拟模块：': 'Virtual modules:',
 '下载内容：': 'Download:',
 '波特率：': 'Baud rate:',
 '页面': 'Pages',
 '页面和图片资源': 'Pages and pictures',
 '图片资源': 'Pictures',
 '字库': 'Fonts',
 '自动下载新接入的模块': 'Download to newly plugged modules',
 '每个端口各自下载，互不影响。批量下载只读取项目，不会像单个下载那样把波特率和背光值写回项目文件。':
     'Each port downloads on its own; one failing does not affect the others. A batch only reads the project: '
     'unlike a single download, it never writes the baud rate or the backlight back to the project file.',
 '关闭': 'Close',
 '端口': 'Port',
 '进度': 'Progress',
 '速率': 'Rate',
 '剩余时间': 'Time left',
 '结果': 'Result',
 '请选择要下载的端口或虚拟模块！': 'Please choose the ports or virtual modules to download to!',
 '虚拟模块无法启动：%1': 'The virtual module cannot start: %1',
 '虚拟模块%1': 'Virtual module %1',
 '下载中': 'Downloading',
 '成功，用时%1秒': 'Succeeded in %1 s',
 '失败：%1': 'Failed: %1',
 '成功%1个，失败%2个，进行中%3个': '%1 succeeded, %2 failed, %3 running',
 '停止自动下载': 'Stop automatic download',
 '开始下载': 'Start',
}
for _src, _en in _dialog.items():
    T[('BatchDownloadDlg', _src)] = _en

T[('MainWindow', '批量下载')] = 'Batch download'
T[('MainWindow', '把当前项目同时下载到多个模块')] = 'Download the project to many modules at once'
