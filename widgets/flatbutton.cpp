#include "flatbutton.h"
