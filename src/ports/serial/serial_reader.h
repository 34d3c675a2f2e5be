#pragma once

namespace ombrel {

class PortSession;

// The reader thread's body: keeps one read pending on the port and delivers
// each completed read as one OnReceiveData chunk of at most 2048 bytes;
// watches the driver's line counters where it keeps them. Ends on the stop
// signal, or with OnRequestHangup when the device fails or goes away.
void runReader(PortSession& session);

}  // namespace ombrel
