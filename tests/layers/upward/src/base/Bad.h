#pragma once
#include "app/FrmTalk.h"
