# The property panel with several items selected.
T[('PropertyPanel', '%1 个对象')] = '%1 items'
T[('PropertyPanel', '请输入整数！')] = 'Please enter a whole number.'
