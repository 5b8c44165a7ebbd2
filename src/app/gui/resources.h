#pragma once

// Makes the pictures built into the window library available (a static
// library's resources must be registered once before use).
void initTamvexResources();
