#include "tests/support/Nutzer.h"

#ifndef _WIN32
#include <cstdlib>
#include <unistd.h>

#include <gtest/gtest.h>

namespace vesk::test {

void alsGewoehnlicherNutzer(const std::filesystem::path& ordner,
                            const std::function<void()>& pruefung) {
  namespace fs = std::filesystem;
  // The folder itself, and the way to it, must be open to the other user.
  fs::permissions(ordner, fs::perms::all);
  EXPECT_EXIT(
      {
        constexpr uid_t NIEMAND = 65534;
        if (::geteuid() == 0 && (::setgid(NIEMAND) != 0 || ::setuid(NIEMAND) != 0)) {
          std::_Exit(3);
        }
        fs::current_path(ordner);
        pruefung();
        std::_Exit(::testing::Test::HasFailure() ? 1 : 0);
      },
      ::testing::ExitedWithCode(0), "");
}

}  // namespace vesk::test

#endif
