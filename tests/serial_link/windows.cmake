# The Windows tests of Brenlow.
