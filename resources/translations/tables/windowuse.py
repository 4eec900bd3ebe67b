# The window in everyday use: boot page mark, exit question, help messages, picture users,
# picture undo, resolution shrink, console target.
T[('MainWindow', '开机显示此页')] = 'Shown after start-up'
T[('QMyMessageBox', '取消')] = 'Cancel'
T[('MainWindow', '找不到帮助文档“%1”，已查找的文件夹：\n%2')] = 'The help document "%1" was not found. Folders searched:\n%2'
T[('MainWindow', '无法打开帮助文档“%1”（所在文件夹：%2），请安装能打开此类文件的程序后重试。')] = \
    'The help document "%1" (in the folder %2) could not be opened. Install a program that opens such files and try again.'
for source, english in [
    ('第%1页背景', 'the background of page %1'), ('第%1页二维码%2', 'QR code %2 on page %1'),
    ('第%1页控件%2', 'control %2 on page %1'), ('开机动画', 'the boot animation'),
    ('%1等%2处', '%1 and more (%2 in all)'), ('、', ', '), ('图片%1被%2使用', 'Picture %1 is used by %2'),
    ('等%1张图片正被使用', '%1 pictures in use in all'),
]:
    T[('PictureUses', source)] = english
T[('PictureChange', '导入图片')] = 'Import pictures'
T[('PictureChange', '删除图片')] = 'Delete pictures'
