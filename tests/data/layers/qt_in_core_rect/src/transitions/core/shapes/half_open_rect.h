#pragma once
#include <QRect>
