#pragma once

// ALSA writes its complaints (no card, no device) straight to standard error. The program
// sends them to the trace hook instead, so a user's terminal stays clean. Idempotent.
void RouteAlsaMessagesToTrace();
