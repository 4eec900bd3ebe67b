# The property panel: row labels, choice names and the messages of the edit rules.
_M = {
 '屏幕':'Screen', '分辨率':'Resolution', '类型':'Type', '竖屏1':'Portrait 1', '横屏1':'Landscape 1',
 '竖屏2':'Portrait 2', '横屏2':'Landscape 2', '图片编号':'Image ID', '背景颜色':'Background color',
 '辅助线':'Guide line', '无':'None', '圆或椭圆':'Circle or ellipse', '矩形':'Rectangle',
 '左偏移':'Left offset', '右偏移':'Right offset', '上偏移':'Top offset', '下偏移':'Bottom offset',
 '线框':'Box', '填充框':'Filled box', '线圆':'Circle', '填充圆':'Filled circle', '点':'Point', '直线':'Line',
 '宽度':'Width', '高度':'Height', '圆心x':'Center x', '圆心y':'Center y', '半径':'Radius', '颜色':'Color',
 '长度':'Length', '角度(0-360)':'Angle(0-360)', '指针颜色':'Pointer color', '大小':'Size',
 '二维码内容':'QR code content', '二维码颜色':'QR code color', '数值':'Value', '进度值':'Progress value',
 '文本':'Text', '边框模式':'Border mode', '无边框':'No border', '有边框':'Border', '模式':'Mode',
 '正向横放':'Horizontal increasing', '正向竖放':'Vertical increasing', '负向横放':'Horizontal decreasing',
 '负向竖放':'Vertical decreasing', '前景图片编号':'Foreground image ID', '背景图片编号':'Background image ID',
 '前景切图编号':'Foreground cut image ID', '背景切图编号':'Background cut image ID', '前景颜色':'Foreground color',
 '边框颜色':'Border color', '字体大小':'Font size', '字体颜色':'Font color', '水平对齐':'Horizontal alignment',
 '居中':'Center', '左对齐':'Left', '右对齐':'Right', '垂直对齐':'Vertical alignment', '上对齐':'Top', '下对齐':'Bottom',
 '无背景无边框':'No background, no border', '无背景有边框':'No background, border', '有背景下压':'Background, pressed in',
 '有背景无边框':'Background, no border', '有背景有边框':'Background, border',
 '按下背景颜色':'Pressed background color', '抬起背景颜色':'Released background color',
 '按下背景图片编号':'Pressed background image ID', '抬起背景图片编号':'Released background image ID',
 '按下背景切图编号':'Pressed background cut image ID', '抬起背景切图编号':'Released background cut image ID',
 '输入数值格式不对，数值里不可包含特殊字符，请您重新输入有效的数值格式！':'Invalid number format: the value may not contain special characters, please enter a valid number!',
 "输入数值格式不对，'-'应在第一位，请您重新输入有效的数值格式！":"Invalid number format: '-' must be the first character, please enter a valid number!",
 "输入数值格式不对，'-'应只有一位，请您重新输入有效的数值格式！":"Invalid number format: only one '-' is allowed, please enter a valid number!",
 "输入数值格式不对，'.'应只有一位，请您重新输入有效的数值格式！":"Invalid number format: only one '.' is allowed, please enter a valid number!",
 "输入数值格式不对，'.'不应在第一位，请您重新输入有效的数值格式！":"Invalid number format: '.' may not be the first character, please enter a valid number!",
 '输入数值格式不对，第二个字符不能为0，请您重新输入有效的数值格式！':'Invalid number format: the second character cannot be 0, please enter a valid number!',
 '输入数值格式不对，第一个字符不能为0，请您重新输入有效的数值格式！':'Invalid number format: the first character cannot be 0, please enter a valid number!',
 '输入的字符不可超过%1，小数需预留%2位字符！':'The input cannot exceed %1 characters, and %2 characters are reserved for decimals!',
 '输入的字符不可超过%1！':'The input cannot exceed %1 characters!',
 '小数只保留%1位，无法再添加小数位！':'Only %1 decimal places are kept, no more decimals can be added!',
 '小数只保留%1位字符，无法再添加小数位！':'Only %1 decimal characters are kept, no more decimals can be added!',
 '文本字符不能大于%1（每个中文占两个字符）！':'The text cannot exceed %1 characters (each Chinese character counts as two)!',
 '字体大小为72或96时，文本不支持中文！':'At font size 72 or 96 the text cannot contain Chinese!',
 '当前设置背景图片与画布分辨率不一致':'The background image does not match the canvas resolution',
 '请输入整数！':'Please enter a whole number!',
 '该属性当前没有可选的值！':'This property has no values to choose from at present!',
 '取值无效，可选的值：%1':'Invalid value, choose one of: %1',
 '颜色编号只能是0到%1！':'The color number must be between 0 and %1!',
 '图库中没有编号为%1的图片！':'The picture library has no picture numbered %1!',
}
for _k, _v in _M.items():
    T[('MainWindow', _k)] = _v

# History steps named by what they changed, page moves, keyboard hints and recent projects.
for source, english in [
    ('修改属性：%1', 'Change %1'), ('、', ', '), ('移动页面', 'Move page'),
]:
    T[('ProjectHistory', source)] = english
T[('ProjectHistory', '移动 %n 个对象')] = ('Move %n item', 'Move %n items')
T[('ProjectHistory', '调整 %n 个对象的大小')] = ('Resize %n item', 'Resize %n items')
T[('ProjectHistory', '添加 %n 个控件')] = ('Add %n control', 'Add %n controls')
T[('ProjectHistory', '删除 %n 个对象')] = ('Delete %n item', 'Delete %n items')
for source, english in [
    ('上移页面', 'Move page up'), ('下移页面', 'Move page down'),
    ('添加页', 'Add page'), ('删除当前页', 'Delete current page'),
    ('添加图片', 'Add pictures'), ('删除图片', 'Delete pictures'),
    ('文件不存在', 'The file does not exist'), ('（没有最近的项目）', '(No recent projects)'),
    ('移除不存在的项目', 'Remove missing projects'), ('清空列表', 'Clear list'),
]:
    T[('MainWindow', source)] = english
T[('MainWindow', '在此输入指令（Ctrl+Tab 输入制表符）')] = 'Type instructions here (Ctrl+Tab types a tab)'
