# Judging the pictures for a download away from the interface thread.
T.update({
 ('MainWindow', '正在检查图片，请稍候……'): 'Checking the pictures, please wait...',
 ('MainWindow', '正在检查图片：%1/%2'): 'Checking pictures: %1/%2',
})
