#include "assets.h"
