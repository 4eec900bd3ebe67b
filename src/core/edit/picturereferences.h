#pragma once

#include "model/projectdata.h"

#include <QVector>

// What deleting pictures does to the pictures' users. A picture's number is its place in the
// library, so removing pictures moves every later one down; every reference must move with its
// picture or a control would silently show another one.
namespace PictureReferences {

// The numbers of count pictures that name a picture, each once, ascending.
QVector<int> validNumbers(const QVector<int> &numbers, int count);

// The number a reference takes once the (ascending, unique) removed pictures are gone: -1 for a
// removed picture or for none; otherwise n less the removed numbers below it.
int renumbered(int n, const QVector<int> &removed);

// The project after removing the pictures: every image field of every control, every page
// background, the current page's background and both ends of the boot animation follow rule
// renumbered(). removed must be ascending and unique (see validNumbers).
ProjectData withPicturesRemoved(const ProjectData &project, const QVector<int> &removed);

// The six image fields of a control, in record order, for code that updates them one by one.
constexpr int ImageFieldCount = 6;
int imageField(const ControlRecord &c, int field);
void setImageField(ControlRecord &c, int field, int value);

}  // namespace PictureReferences
