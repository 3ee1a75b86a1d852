#include "engine/keyboard_jobs.h"

namespace tarvenor {

void SessionJobs::post(Work work, Done done) {
    session_.post(std::move(work),
                  [to_poster = to_poster_, done = std::move(done)](const JobOutcome& outcome) {
                      if (done) {
                          to_poster([done, outcome] { done(outcome); });
                      }
                  });
}

} // namespace tarvenor
