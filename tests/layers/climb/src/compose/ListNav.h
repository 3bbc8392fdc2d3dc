#pragma once
// A list navigation that reaches up into the example-sentence screens: the
// circle compose -> samples -> compose that the subsystems' order forbids.
#include "samples/SampleScreens.h"
