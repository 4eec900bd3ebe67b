# Library files that cannot be read or sent: pictures, fonts, entries that are not regular files.
T[('RegularFile', '%1不是普通文件，已跳过！')] = '%1 is not a regular file and was skipped!'
T[('PictureReader', '无法读取')] = 'unreadable'
T[('PictureReader', '尺寸过大')] = 'too large'
T[('DownloadCheck', '图片%1（编号%2）无法读取')] = 'Picture %1 (number %2) cannot be read'
T[('DownloadCheck', '图片%1（编号%2）的尺寸%3x%4过大，每边不能超过%5像素')] = \
    'Picture %1 (number %2) is %3x%4, too large: no side may exceed %5 pixels'
T[('DownloadCheck', '图片%1（编号%2）的尺寸%3x%4过大，像素总数不能超过%5')] = \
    'Picture %1 (number %2) is %3x%4, too large: it may not have more than %5 pixels'
T[('DownloadCheck', '，第%1页使用了该图片')] = ', page %1 uses it'
T[('DownloadCheck', '，请您删除或重新导入该图片！')] = ', please delete it or import it again!'
T[('DownloadCheck', '，请您删除或缩小该图片！')] = ', please delete it or make it smaller!'
F['字库文件%1无法读取，下载失败！'] = 'Font file %1 cannot be read, download failed!'
