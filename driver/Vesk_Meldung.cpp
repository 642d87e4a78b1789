#include "driver/Vesk_Meldung.h"
