#pragma once
// A list of cubes such as the displayed ones: millions of pointers at the finest level, made
// again at each change of level, so on large pages.

#include "util/GrandesPages.h"

class TCube;

using TListeCubes = TGrandVecteur<TCube*>;
