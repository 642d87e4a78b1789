#pragma once
#include <string>
#include <string_view>
#include <utility>

#include "fields/MeldungsText.h"

// The values a data field may hold: an interval of integers or an enumeration of texts.
// Built once at start-up (or while record types are read) and never changed afterwards.
class Vesk_WerteMenge {
 public:
  virtual ~Vesk_WerteMenge() = default;
  Vesk_WerteMenge(const Vesk_WerteMenge&) = delete;
  Vesk_WerteMenge& operator=(const Vesk_WerteMenge&) = delete;

  // Whether the field value `text` (already trimmed by the field kind) belongs to the set.
  [[nodiscard]] virtual bool inDerMenge(vesk::MeldungsText text) const = 0;
  // The set's name; empty for a set written inline in a field definition.
  [[nodiscard]] virtual const std::string& gibBezeichner() const { return bezeichner; }

 protected:
  explicit Vesk_WerteMenge(std::string name) : bezeichner(std::move(name)) {}

 private:
  std::string bezeichner;
};
