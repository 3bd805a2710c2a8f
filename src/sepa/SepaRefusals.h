// Each check of a payment (or of the settings) runs, and the first refusal is
// raised once all have run, carrying the later ones: one reading names every
// fault, not only the first.
#pragma once

#include <optional>
#include <utility>

#include "zordta/Sepa.h"

namespace zor::detail {

class SepaRefusals {
 public:
  template <class Check>
  void Run(Check&& check) {
    try {
      check();
    } catch (SepaError& e) {
      if (fFirst) {
        fFirst->AddFurther(std::move(e));
      } else {
        fFirst.emplace(std::move(e));
      }
    }
  }
  void RaiseAny() {
    if (fFirst) throw std::move(*fFirst);
  }

 private:
  std::optional<SepaError> fFirst;
};

}  // namespace zor::detail
