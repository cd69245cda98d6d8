#include "profiles/app_params.h"

CAppParams g_AppParams;
