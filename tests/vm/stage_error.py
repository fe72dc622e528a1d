"""The one failure the stage reports: what went wrong, in words, and the stage fails."""


class StageError(Exception):
    pass
