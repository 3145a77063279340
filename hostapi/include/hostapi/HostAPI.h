// Everything a plug-in of this generation compiles against.
#pragma once

#include "ASTypes.h"
#include "SPSuites.h"
#include "SPMessages.h"
#include "AIApplication.h"
#include "AIArt.h"
#include "AIText.h"
#include "AIDocument.h"
#include "AIOther.h"
#include "ADMSuites.h"
#include "ATESuites.h"
