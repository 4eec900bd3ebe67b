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
T[('MainWindow', '页面变小后，有%n个控件或图形超出页面（其中%1个完全在页面之外）。是否将它们移入页面内？')] = (
    'With the smaller page, %n control or shape lies outside it (%1 wholly). Move it inside the page?',
    'With the smaller page, %n controls or shapes lie outside it (%1 of them wholly). Move them inside the page?')
T[('MainWindow', '移入页面')] = 'Move inside the page'
T[('MainWindow', '等%1处')] = 'and more (%1 in all)'
for source, english in [
    ('第%1页图形%2完全在页面之外，模块上不会显示', 'Shape %2 on page %1 lies wholly outside the page and will not be seen on the module'),
    ('第%1页二维码%2完全在页面之外，模块上不会显示', 'QR code %2 on page %1 lies wholly outside the page and will not be seen on the module'),
    ('第%1页控件%2完全在页面之外，模块上不会显示', 'Control %2 on page %1 lies wholly outside the page and will not be seen on the module'),
]:
    T[('PageFit', source)] = english
# The console's target.
T[('MainWindow', '串口%1')] = 'Port %1'
T[('MainWindow', '模拟器')] = 'Simulator'
T[('MainWindow', '未连接')] = 'No target'
T[('MainWindow', '[模拟器]')] = '[Simulator]'
T[('MainWindow', '控制台指令发送到的地方：已打开的串口，或正在运行的模拟器')] = \
    'Where the console sends its instructions: the open serial port or the running simulator'
T[('MainWindow', '没有发送目标，请您先在“端口选择”中打开串口，或点击“模拟运行”！')] = \
    'Nothing to send to, please open a port in "Port Select" or click "Simulate" first!'
