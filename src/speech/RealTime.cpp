#include "speech/RealTime.h"

#include <pthread.h>
#include <sched.h>

#include <algorithm>

namespace kel {

void askForRealTime()
{
    sched_param param{};
    param.sched_priority = std::max(1, sched_get_priority_min(SCHED_RR));
    pthread_setschedparam(pthread_self(), SCHED_RR, &param);
}

} // namespace kel
