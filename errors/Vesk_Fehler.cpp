#include "errors/Vesk_Fehler.h"

void Vesk_Fehler::haengeErklaerendenTextAn(std::string& zeile) const {
  if (erklaerenderText) {
    zeile += "  ";
    zeile += *erklaerenderText;
  }
}
