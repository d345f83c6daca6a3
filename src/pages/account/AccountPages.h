#pragma once

#include "PageTable.h"

// The pages of this library, for the main window's page factory.
PageTable accountPages();
