# The virtual module's runtime (its log notes) and the simulator window.
_runtime = {
 '%1超出范围 %2..%3': '%1 out of range %2..%3',
 '不支持的波特率': 'unsupported baud rate',
 '位数': 'digits',
 '半径': 'radius',
 '参数': 'argument',
 '参数不是整数': 'an argument is not an integer',
 '参数过多：%1': 'too many arguments: %1',
 '参数错误': 'wrong arguments',
 '地址': 'address',
 '地址%1不是本模块的地址，忽略：%2': 'address %1 is not this module\'s address, ignored: %2',
 '地址%1处没有图片数据': 'no picture data at address %1',
 '坐标': 'coordinate',
 '宽度': 'width',
 '尺寸': 'size',
 '已忽略 %1：%2': 'ignored %1: %2',
 '延时': 'delay',
 '当前页没有二维码%1': 'the current page has no QR code %1',
 '当前页没有控件%1': 'the current page has no control %1',
 '指令不完整：%1': 'incomplete instruction: %1',
 '指令后缺少分号：%1': 'missing semicolon after instruction: %1',
 '按下效果': 'pressed look',
 '按键状态': 'button state',
 '控件%1不是指针': 'control %1 is not a pointer',
 '控件%1不是按键': 'control %1 is not a button',
 '控件%1不是数字': 'control %1 is not a number',
 '控件%1不是文本或按键': 'control %1 is not a text or a button',
 '控件%1不是进度条': 'control %1 is not a progress bar',
 '控件编号不是整数': 'the control number is not an integer',
 '数值错误': 'wrong value',
 '文本超过%1字节': 'text longer than %1 bytes',
 '文本须用单引号括起': 'the text must be in single quotes',
 '方向': 'direction',
 '无法识别的指令：%1': 'unreadable instruction: %1',
 '显示方式': 'display mode',
 '未知指令': 'unknown instruction',
 '没有图片%1': 'no picture %1',
 '没有第%1页': 'no page %1',
 '第%1个参数不是整数': 'argument %1 is not an integer',
 '等待执行的指令过多，忽略：%1': 'too many instructions waiting, ignored: %1',
 '背光值': 'backlight value',
 '脚本中不能重启': 'a script cannot restart the module',
 '脚本过长，只执行前%1条指令': 'script too long, only the first %1 instructions run',
 '角度': 'angle',
 '进度': 'progress',
 '长度': 'length',
 '需要%1个参数': '%1 arguments needed',
 '页面脚本中不能跳转': 'a page script cannot jump',
 '颜色号': 'colour number',
 '高度': 'height',
}
for _src, _en in _runtime.items():
    T[('ModuleRuntime', _src)] = _en
EXTRA.setdefault('ModuleRuntime', []).extend(_runtime.keys())

_window = {
 '横屏1': 'Landscape 1', '横屏2': 'Landscape 2', '竖屏1': 'Portrait 1', '竖屏2': 'Portrait 2',
 '发送': 'Send', '应答': 'Answered', '提示': 'Note', '收到': 'Received',
 '方向：%1 (%2)': 'Orientation: %1 (%2)', '模拟器': 'Simulator', '清空': 'Clear', '缩放：': 'Zoom:',
 '背光：%1 (屏幕关闭)': 'Backlight: %1 (LCD off)', '背光：%1': 'Backlight: %1',
 "输入指令，例如 SET_TXT(0,'你好');": "Type an instruction, e.g. SET_TXT(0,'Hello');",
 '页面：%1': 'Page: %1', '页面：无': 'Page: none',
}
for _src, _en in _window.items():
    T[('SimulatorWindow', _src)] = _en
# lupdate files the parser's texts under its namespace; they are looked up under ModuleRuntime.
for _src in ('无法识别的指令：%1', '参数过多：%1', '指令不完整：%1', '指令后缺少分号：%1'):
    T[('ModuleInstructions', _src)] = _runtime[_src]

# "模拟运行" in the main window.
T[('MainWindow', '模拟运行')] = 'Simulate'
T[('MainWindow', '下载当前项目到模拟器并显示模拟器窗口')] = 'Download the project to the simulator and show the simulator window'
T[('MainWindow', '下载中请稍后重试！')] = 'Downloading, please try again later!'
_run = {
 '无法启动模拟器：%1': 'Cannot start the simulator: %1',
 '下载中请稍后重试！': 'Downloading, please try again later!',
 '模拟器未运行！': 'The simulator is not running!',
}
for _src, _en in _run.items():
    T[('SimulatorRun', _src)] = _en
EXTRA.setdefault('SimulatorRun', []).extend(_run.keys())
