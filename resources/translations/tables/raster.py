# The canvas's module look switch.
T[('ModuleLookSwitch', '模块效果')] = 'Module look'
T[('ModuleLookSwitch', '按模块的像素显示当前页（只读；编辑请关闭）')] = \
    "Show the current page in the module's own pixels (read-only; switch off to edit)"
