#pragma once

// The whole property browser library in one include.
#include "qtabstracteditorfactory.h"
#include "qtabstractpropertybrowser.h"
#include "qtabstractpropertymanager.h"
#include "qtenumeditorfactory.h"
#include "qtenumpropertymanager.h"
#include "qtproperty.h"
#include "qttreepropertybrowser.h"
#include "qtvarianteditorfactory.h"
#include "qtvariantpropertymanager.h"
