// The virtual module grows here.
