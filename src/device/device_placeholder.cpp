// The serial link grows here.
