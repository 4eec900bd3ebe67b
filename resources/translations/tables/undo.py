# Undo and redo.
for source, english in [
    ('添加页', 'Add page'), ('删除页', 'Delete page'), ('修改页面', 'Change page'), ('添加控件', 'Add control'),
    ('删除', 'Delete'), ('绘制图形', 'Draw shape'), ('移动', 'Move'), ('调整大小', 'Resize'),
    ('修改属性', 'Change properties'), ('修改图形', 'Change shape'), ('修改页面属性', 'Change page properties'),
    ('修改分辨率或方向', 'Change resolution or orientation'), ('修改开机设置', 'Change boot settings'),
]:
    T[('ProjectHistory', source)] = english
T[('MainWindow', '撤销')] = 'Undo'
T[('MainWindow', '重做')] = 'Redo'
T[('MainWindow', '撤销“%1”')] = 'Undo "%1"'
T[('MainWindow', '重做“%1”')] = 'Redo "%1"'
T[('MainWindow', '历史记录')] = 'History'
T[('MainWindow', '图库已改变，撤销记录已清空。')] = 'The picture library changed; the undo history was cleared.'
