#include "rpc_fixture.h"
