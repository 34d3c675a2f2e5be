#pragma once

namespace ombrel {

class PortSession;

// The writer thread's body: writes the queued blocks in order and announces
// an empty queue (OnSendDataEmpty) once after starting and once after each
// drained burst. Ends on the stop signal, or with OnRequestHangup when the
// device fails; requests still queued then are dropped and new ones refused.
void runWriter(PortSession& session);

}  // namespace ombrel
