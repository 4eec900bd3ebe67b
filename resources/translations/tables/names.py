# Names of pages and controls for the firmware.
T[('Names', '名称“%1”过长：最多%2个字符')] = 'The name "%1" is too long: at most %2 characters'
T[('Names', '名称“%1”无效：须以英文字母或下划线开头，其后只用英文字母、数字和下划线')] = \
    'The name "%1" is not valid: it must start with an English letter or an underscore, followed only by English letters, digits and underscores'
T[('Names', '名称“%1”已被使用')] = 'The name "%1" is already in use'
T[('MainWindow', '名称')] = 'Name'
T[('MainWindow', '重命名页面')] = 'Rename page'
T[('MainWindow', 'Page%1 的名称（固件代码使用；留空表示不命名）：')] = \
    'Name of Page%1 (used by the firmware code; leave empty for none):'
T[('ProjectHistory', '重命名页面')] = 'Rename page'
