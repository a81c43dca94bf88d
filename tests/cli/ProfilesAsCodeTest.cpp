#include "CliTestSupport.h"
