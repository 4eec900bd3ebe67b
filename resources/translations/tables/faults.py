# Faults mended after attacking the programs: linked folders, deletions, oversized pages.
T[('FolderMirror', '“%1”是符号链接，不会经由它删除、改名或写入文件')] = \
    '"%1" is a symbolic link; nothing is removed, renamed or written through it'
T[('FolderMirror', '“%1”不是文件夹，无法用作图片文件夹')] = '"%1" is not a folder and cannot be used as a picture folder'
T[('PictureFiles', '%1：文件名含换行等控制字符')] = '%1: the file name holds a line break or another control character'
T[('ProjectFile', '外部实体“%1”不予读取')] = 'external entity "%1" is not read'
T[('MainWindow', '第%1页有%2个控件，超过窗口可显示的%3个，项目未打开')] = \
    'Page %1 holds %2 controls, more than the %3 the window can show; the project was not opened'
T[('VirtualModule', '闪存已满：%1字节的数据块放不下（闪存%2 MiB）')] = \
    'Flash full: a block of %1 bytes does not fit (flash %2 MiB)'
