#include "multiuserform.h"
