// The INI store on arbitrary text, with its editing operations applied to what it parsed.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "config/IniFile.h"
#include "fuzz/FuzzUmgebung.h"

namespace {

// Every subject keeps at least one variable, each readable through the lookups.
void pruefeInvarianten(const IniFile& ini) {
  for (const auto& subject : ini.getSubjects()) {
    const auto variablen = ini.variablesOf(subject);
    if (variablen.empty() || !ini.hasVariables(subject)) {
      std::abort();
    }
    static_cast<void>(ini.getValue(subject, variablen.back()));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t groesse) {
  vesk::fuzz::schweige();
  IniFile ini = IniFile::ausText("text.ini", vesk::fuzz::alsText(daten, groesse));
  pruefeInvarianten(ini);
  const long zeilen = static_cast<long>(ini.getLines().size());
  for (const long start : {-2L, -1L, 0L, 1L, zeilen - 1, zeilen, zeilen + 5}) {
    static_cast<void>(ini.endOfSubject(start));
    static_cast<void>(ini.findAssignmentBetween("a", start, start + 3));
  }
  // A few edits are enough to reach every branch; checking after each keeps a finding close
  // to the operation that caused it.
  const auto subjects = ini.getSubjects();
  for (std::size_t i = 0; i < subjects.size() && i < 8; ++i) {
    const auto variablen = ini.getVariables(subjects[i]);
    switch (i % 4) {
      case 0:
        ini.setValue(subjects[i], variablen.front(), "wert");
        static_cast<void>(ini.findAssignmentLine(subjects[i], variablen.front()));
        break;
      case 1:
        ini.deleteValue(subjects[i], variablen.front());
        break;
      case 2:
        ini.deleteSubject(subjects[i]);
        break;
      default:
        ini.setValue(subjects[i], "neu", "1");
        ini.deleteValue(subjects[i], variablen.back());
    }
    pruefeInvarianten(ini);
  }
  ini.setValue("NeueGruppe", "schluessel", "wert");
  ini.setValue("NeueGruppe", "schluessel", "wert2");
  pruefeInvarianten(ini);
  return 0;
}
