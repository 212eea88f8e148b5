#pragma once

// Build stand-in: the disk-space alert at its new place.
#include "services/disk_space_alert.h"
