# English of the property browser and the image and colour property editors.
T[('QtTreePropertyBrowser', '属性')] = 'Property'
T[('QtTreePropertyBrowser', '值')] = 'Value'
