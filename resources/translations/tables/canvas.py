# The canvas and the picture row: zoom levels, the row's picture list.
T[('QtUserTypeOne_ImageWidget', '从图库中选择图片')] = 'Choose a picture from the library'
T[('QtUserTypeOne_ImageWidget', '图库中没有图片')] = 'The library holds no pictures'
