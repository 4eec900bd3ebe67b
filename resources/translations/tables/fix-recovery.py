# Recovery of a project's folders and files.
T[('ProjectFile', '第%1字节不是有效的UTF-8编码')] = 'byte %1 is not valid UTF-8'
T[('MainWindow', '图片文件夹“tempImages”缺失或为空，已从“backUpImages”恢复%1个文件。')] = \
    'The picture folder "tempImages" was missing or empty; %1 files were restored from "backUpImages".'
T[('MainWindow', '图片文件夹“tempImages”缺失或为空，从“backUpImages”恢复失败，备份保持不变。')] = \
    'The picture folder "tempImages" was missing or empty, and restoring it from "backUpImages" failed; the backup is kept as it is.'
