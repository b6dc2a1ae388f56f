// The services that the game relies on from its host system, all together:
// the application includes this; each game room includes only the service
// headers it uses (access, picture, text, text_format, resources, sound,
// time_input, registry, window).
#pragma once

#include "platform/access.h"
#include "platform/picture.h"
#include "platform/random.h"
#include "platform/registry.h"
#include "platform/resources.h"
#include "platform/sound.h"
#include "platform/text.h"
#include "platform/text_format.h"
#include "platform/time_input.h"
#include "platform/window.h"
