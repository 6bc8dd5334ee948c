"""The exceptions of the module (raised from the compiled part)."""


class CollapseError(RuntimeError):
    """The calculation of a case study stopped: no equilibrium of the element forces within the
    iterations a step allows, or an element of nul area. ``study`` is the number of the case study
    (from 1) and ``step`` the curvature step (1 to 50; 0 before the collapse iteration)."""

    def __init__(self, message: str, study: int = 0, step: int = 0):
        super().__init__(message)
        self.study = study
        self.step = step
