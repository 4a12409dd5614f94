#pragma once
// Turns the mouse wheel's angle deltas (eighths of a degree) into whole notches of 120, so the
// small deltas of a touchpad add up instead of each taking a step.
class WheelSteps
{
public:
    // Adds a delta; returns the notches it completed, positive when the wheel turned away from
    // the user (up), negative towards (down), 0 while less than a notch has gathered.
    int add(int angleDelta)
    {
        m_rest += angleDelta;
        const int notches = m_rest / 120;
        m_rest -= notches * 120;
        return notches;
    }

private:
    int m_rest = 0;
};
