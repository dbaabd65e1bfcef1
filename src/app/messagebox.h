#pragma once

// Shows the program's messages in message boxes. With COURTORIA_UNATTENDED set (a run without
// anyone at the desk, such as a measurement) they go to stderr and questions are answered No.
void installMessageBoxes();
