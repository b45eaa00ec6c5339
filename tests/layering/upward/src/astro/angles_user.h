#pragma once
#include "astro/angles.h"
