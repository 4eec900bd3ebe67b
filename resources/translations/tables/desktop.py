# Desktop registration texts (written into the MIME type and the desktop entry).
T[('DesktopIntegration', 'Tavo文件')] = 'Tavo file'
T[('DesktopIntegration', '设计LXP串口屏的页面并下载到显示模块')] = 'Design pages for LXP serial display modules and download them'
T[('DesktopIntegration', '串口屏页面设计')] = 'Serial display page designer'
