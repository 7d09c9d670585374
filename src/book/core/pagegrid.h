#pragma once

// The page grid moved to the page library; the windows still include it here.
#include "book/pages/pagegrid.h"
