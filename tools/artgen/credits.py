"""Credits backdrop, shown at the end of the campaign and by the credits
screen: the comic stories' night of fireworks, with a darker column on the
right where the credits roll (centred on x 640)."""
import story
from storykit import Pic
from svgkit import *


def build(add, pal):
    pic = Pic()
    story.credits_backdrop(pic)
    svg = pic.svg()
    column = ('<defs>' + lin('credcol', 0, 0, 1, 0, [(0, '#0b1633', 0), (0.18, '#0b1633', 0.55),
                                                   (0.82, '#0b1633', 0.55), (1, '#0b1633', 0)]) + '</defs>'
              '<rect x="380" y="0" width="520" height="768" fill="url(#credcol)"/>')
    svg = svg.replace('\n</svg>\n', '\n' + column + '\n</svg>\n')
    add('gui/credits/back.jpg', svg)
