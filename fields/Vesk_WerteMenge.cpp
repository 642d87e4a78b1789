#include "fields/Vesk_WerteMenge.h"
