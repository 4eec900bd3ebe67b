# Project values, unsafe texts and module answers.
F.update({
 '第%1页%2控件%3的文本含有分号，请您修改！':'The text of %2 control %3 on page %1 contains a semicolon, please change it!',
 '第%1页%2控件%3的数值为空，请您修改！':'The number of %2 control %3 on page %1 is empty, please change it!',
 '文本含有换行符，请您修改！':'The text contains a line break, please change it!',
 '文本含有单引号，请您修改！':'The text contains a single quote, please change it!',
 '文本含有分号，请您修改！':'The text contains a semicolon, please change it!',
 '数值不能为空，请您修改！':'The number cannot be empty, please change it!',
 '数值格式不对，请您修改！':'The number is not well formed, please change it!',
 '文本含有显示屏不支持的字符，请您修改！':'The text contains characters the display does not support, please change it!',
 '屏幕方向%1超出了0到%2的范围':'the screen direction %1 is outside 0 to %2',
 '背光值%1超出了0到%2的范围':'the backlight value %1 is outside 0 to %2',
 '%1，请您重新设置！':'%1, please set it again!',
 '，':', ',
})
