# The log's prefixes, and shorter English where the dialogs' fixed layouts clip the text.
EXTRA.setdefault('SerialPortDlg', []).extend(['--发送:'])
T.update({
 ('SerialPortDlg', '--发送:'): '--Sent:',
 ('SerialPortDlg', '--接收:'): '--Received:',
 ('SysDlg', '使能地址'): 'Enable',
 ('QMyMessageBox', '同时下载资源'): 'Download pictures too',
})
