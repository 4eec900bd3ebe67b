# Room to work: panels, remembered window, keys, one language at a time.
T[('QMyProgressBarMes', '下载进度')] = 'Download progress'
T[('MainWindow', '选择要删除的图片，再按“-”删除')] = 'Tick the pictures to delete, then press "-"'
T[('MainWindow', '选择要删除的字库，再按“-”删除')] = 'Tick the fonts to delete, then press "-"'
T[('MainWindow', '<打开时的项目>')] = '<project as opened>'
T[('QMyFrame', '全选')] = 'Select all'
T[('QMyFrame', '复制一份')] = 'Duplicate'
