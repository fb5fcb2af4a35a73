#pragma once
#include "common/a.h"
