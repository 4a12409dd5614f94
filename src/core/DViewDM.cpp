#include "core/DViewDM.h"

// TDView is a plain descriptor; everything is inline. The unit exists so the descriptor has
// the same home as the other date and view services.
