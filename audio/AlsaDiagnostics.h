#pragma once

// ALSA writes its complaints (no card, no device, an underrun) straight to standard error.
// The program sends them to the trace hook instead, so a user's terminal stays clean.
// Idempotent.
//
// On the thread that routed them (the GUI thread) they are traced at once. On any other, a
// sound device's thread, nothing may wait or allocate: there a complaint is only copied, as
// it comes, into one of a few fixed slots, and ReportAlsaMessages traces it later.
void RouteAlsaMessagesToTrace();

// On the thread that routed the messages: traces those noted on other threads since the last
// call (and how many did not fit). Returns how many it traced.
int ReportAlsaMessages();
