#include "scene/SceneState.h"

SceneState G;
