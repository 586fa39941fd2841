// The blocking query: a worker thread with its own hidden reply window and message
// loop sends the query and waits for the reply, while the caller waits for the thread.
#pragma once

#include <windows.h>

// Runs one blocking query; the caller holds the client lock. TRUE when the reply was
// stored.
BOOL SearchClient_QueryAndWait();
