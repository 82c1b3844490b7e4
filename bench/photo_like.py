"""The OpenCV benchmarks' 6000 x 4000 picture, made like the bench's photo-like surface."""
import numpy as np


def photo_like(height=4000, width=6000):
    """Smooth gradients plus noise, 8-bit, three channels."""
    y, x = np.mgrid[0:height, 0:width].astype(np.float32)
    rng = np.random.default_rng(1)
    picture = np.empty((height, width, 3), np.uint8)
    for c, (a, b) in enumerate([(0.02, 0.03), (0.03, 0.01), (0.01, 0.02)]):
        smooth = 128 + 100 * np.sin(x * a / 10) * np.cos(y * b / 10)
        picture[..., c] = np.clip(smooth + rng.normal(0, 8, (height, width)), 0, 255)
    return picture
