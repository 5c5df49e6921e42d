// `run` with several descriptions: each runs with its own settings and
// period, the options of the command line applying to all, in a process of
// its own (a crash or a lack of memory in one leaves the others be), at
// most `travaux` at a time. A summary line per description ends the
// command; the status is 0 when every run succeeded.
#pragma once

#include <string>
#include <vector>

namespace tamso {

struct OptionsRun;

// `fils_donnes`: --threads was given; otherwise the runs going at once
// share the computer's cores.
int commande_run_lot(const std::vector<std::string>& descriptions, const OptionsRun& o, int travaux,
                     bool fils_donnes);

// The results files the descriptions aim at (their output folder, or the
// one of --out, and their name): the pairs that aim at the same one, as
// messages. Descriptions that cannot be read are left to their run.
std::vector<std::string> collisions_resultats(const std::vector<std::string>& descriptions,
                                              const OptionsRun& o);

}  // namespace tamso
