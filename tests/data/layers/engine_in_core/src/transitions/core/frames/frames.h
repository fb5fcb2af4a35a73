#pragma once
#include "transitions/engine/pass_data.h"
