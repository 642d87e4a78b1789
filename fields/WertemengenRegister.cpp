#include "fields/WertemengenRegister.h"

#include "fields/Vesk_WerteMenge.h"

namespace vesk {

WertemengenRegister::WertemengenRegister() = default;
WertemengenRegister::WertemengenRegister(Mengen mengen) : werteMengen(std::move(mengen)) {}
WertemengenRegister::~WertemengenRegister() = default;
WertemengenRegister::WertemengenRegister(WertemengenRegister&&) noexcept = default;
WertemengenRegister& WertemengenRegister::operator=(WertemengenRegister&&) noexcept = default;

const Vesk_WerteMenge* WertemengenRegister::gib(std::string_view name) const {
  const auto treffer = werteMengen.find(name);
  return treffer == werteMengen.end() ? nullptr : treffer->second.get();
}

}  // namespace vesk
