# Zooming the canvas: the zoom box in the status bar.
T[('ZoomBox', '适合窗口')] = 'Fit window'
T[('ZoomBox', '缩放')] = 'Zoom'
