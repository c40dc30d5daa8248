#pragma once
// The hourglass cursor of long actions. Uses nest: the wait cursor goes up at
// the outermost BeginWait and the normal cursor returns when the count falls
// back to zero. Window thread only.
namespace sw {

void BeginWait();
// An EndWait without a matching BeginWait is ignored.
void EndWait();
int WaitDepth();

class WaitCursor {
public:
    WaitCursor() { BeginWait(); }
    ~WaitCursor() { EndWait(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace sw
