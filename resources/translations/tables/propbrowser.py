# English of the property browser and the image and colour property editors.
T[('QtTreePropertyBrowser', '属性')] = 'Property'
T[('QtTreePropertyBrowser', '值')] = 'Value'
T[('QtUserTypeOne_ImageWidget', '设置')] = 'Set'
T[('QtUserTypeOne_ImageWidget', '移除')] = 'Del'
T[('QtUserTypeOne_ImageWidget', '未选择图片，请您在图库中选择一张图片！')] = 'Not selected picture, please select a picture in the gallery!'
T[('QtUserTypeTwo_ColorWidget', '设置')] = 'Set'
