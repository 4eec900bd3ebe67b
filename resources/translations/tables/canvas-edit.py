# Several items at once on the canvas: alignment menu.
for source, english in [
    ('对齐', 'Align'), ('左对齐', 'Align left'), ('右对齐', 'Align right'), ('顶端对齐', 'Align top'),
    ('底端对齐', 'Align bottom'), ('水平居中', 'Align horizontal centres'), ('垂直居中', 'Align vertical centres'),
    ('水平等距分布', 'Distribute horizontally'), ('垂直等距分布', 'Distribute vertically'),
    ('等宽', 'Same width'), ('等高', 'Same height'),
]:
    T[('QMyFrame', source)] = english
