#include "transitions/core/kernels/detail/levels.h"
