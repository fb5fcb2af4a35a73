#pragma once
#include "common/b.h"
