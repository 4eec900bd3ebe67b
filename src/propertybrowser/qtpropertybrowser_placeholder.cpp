// The property browser library grows here.
