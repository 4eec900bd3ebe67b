# Small mends: an interrupted batch download.
T[('BatchDownload', '已中断')] = 'interrupted'
