# The project's picture lock and what killed programs left beside a project.
T[('PictureFiles', '未保存图片的记录“%1”已损坏或不可信，已忽略，图片文件夹未作改动。')] = \
    'The note of unsaved pictures "%1" is damaged or cannot be trusted; it was ignored and the picture folder was left unchanged.'
T[('PictureFiles', '另一个程序正在修改该项目的图片，请稍后再试。')] = \
    "Another program is changing this project's pictures; please try again later."
