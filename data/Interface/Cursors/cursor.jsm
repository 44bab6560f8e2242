// The cursors' skin: unlit, two-sided, drawn over everything.
light no; cull none; depthwrite no;
layer 0; image Interface\Cursors\ cursor.tga; magfilter point; minfilter point; mipfilter none;
