# The batch dialog's stop and typed ports.
_batchwin = {
 '停止': 'Stop',
 '添加': 'Add',
 '输入设备路径，如 /dev/ttyUSB0': 'Device path, such as /dev/ttyUSB0',
 '请输入串口的设备路径！': 'Please type the device path of a serial port!',
 '%1不是串口设备！': '%1 is not a serial device!',
 '成功%1个，失败%2个，已停止%3个，进行中%4个': '%1 succeeded, %2 failed, %3 stopped, %4 running',
}
for _src, _en in _batchwin.items():
    T[('BatchDownloadDlg', _src)] = _en

T[('BatchDownload', '已停止')] = 'Stopped'
