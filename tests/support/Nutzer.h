#pragma once
#include <filesystem>
#include <functional>

namespace vesk::test {

// Runs `pruefung` in a child process as an ordinary user, in `ordner`, which it makes readable
// for everyone: file permissions bind such a user, but not root, as whom tests may run. Expects
// the child to end without a failed expectation. POSIX only.
void alsGewoehnlicherNutzer(const std::filesystem::path& ordner,
                            const std::function<void()>& pruefung);

}  // namespace vesk::test
