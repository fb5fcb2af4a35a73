#pragma once
#include "transitions/transitions.h"
