#pragma once
// An upward include the layering check must refuse.
#include "app/application.h"
